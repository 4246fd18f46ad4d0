#pragma once

#include "worksheet/AppSettings.h"

#include <QColor>
#include <QDialog>

#include <functional>
#include <optional>

namespace orvalis {

// "Color Configuration": one row per worksheet section with Select (the colour chooser)
// and Default. The buttons change the application-wide colour at once; OK and Cancel
// only close. The rows recolour when the worksheet next colours its row labels.
class ColorConfigDialog final : public QDialog {
    Q_OBJECT
public:
    // The chooser: the colour picked, or nothing when it was cancelled.
    using Chooser = std::function<std::optional<QColor>(QWidget* parent)>;

    explicit ColorConfigDialog(AppSettings& settings, QWidget* parent = nullptr);

    // Replaces the platform's colour chooser (for tests).
    void SetChooser(Chooser chooser) { m_chooser = std::move(chooser); }

    // The buttons' work, section 0..3 = Training, Testing, Evaluation, Extrapolation.
    void SelectColor(int section);
    void DefaultColor(int section);

    static QColor ToQColor(Colour colour);
    static Colour FromQColor(const QColor& colour);

private:
    Colour& SectionColour(int section);

    AppSettings& m_settings;
    Chooser m_chooser;
};

}  // namespace orvalis
