#pragma once

#include <QDialog>
#include <QFrame>
#include <QWidget>

namespace orvalis {

// The program's icon shown at twice the desktop's icon size inside a black frame with a
// dark grey shadow at the right and bottom. Takes no input.
class IconButton final : public QWidget {
    Q_OBJECT
public:
    explicit IconButton(QWidget* parent = nullptr);
    // 2 x icon size + 8 pixels each way.
    static QSize ButtonSize();

protected:
    void paintEvent(QPaintEvent* event) override;
};

// "About Tavelle Orvalis": icon, version, year, publisher, acknowledgement, licence and
// OK.
class AboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

// The start-up window: icon, version, year, the warranty notice and the licence, without
// a caption, centred on the screen (its owner is not up yet when it opens). The
// application closes it; it deletes itself when closed.
class SplashWindow final : public QFrame {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* owner = nullptr);
};

// The texts both boxes share.
QString VersionLine();
QString YearLine();
QString LicenceLine(); // the licence the program is distributed under

}  // namespace orvalis
