#pragma once

#include "grid/InPlaceEditor.h"

#include <QComboBox>

#include <string>
#include <vector>

namespace orvalis {

// A drop-down list laid over one cell for cells with a fixed vocabulary (the worksheet's
// role row). It preselects the first item that starts with the cell text, ignoring case;
// Ctrl+arrows and Tab, Enter and Escape end it (Escape restores the text); plain arrows
// move in the list; Alt+Down, Alt+Up and F4 drop the list down and fold it up taking the
// highlighted item. It ends when the focus leaves it, its edit field and its drop-down.
class CInPlaceList : public QComboBox, public CInPlaceEditor {
    Q_OBJECT

public:
    static constexpr int kVisibleLines = 4;

    // withEditField: a drop-down with an edit field (the worksheet's choice) rather than
    // a plain drop-down list. rect: the cell rectangle in the grid's cell-area coordinates.
    CInPlaceList(CGridCtrl* grid, QWidget* parent, const QRect& rect, bool withEditField,
                 int id, int row, int col, const std::vector<std::string>& items,
                 const std::string& text, EditStart start);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QString CurrentText() const override { return currentText(); }

private:
    // Handles the keys that end editing; true when the key was used.
    bool HandleEndingKey(QKeyEvent* event);
    void PlaceCaret(EditStart start);
    // Alt+Down, Alt+Up or F4, as a key press or its shortcut override.
    static bool IsDropDownToggle(const QEvent* event);
    // Drops the list down, or folds it up taking the highlighted item.
    void ToggleDropDown();
    void OnFocusChanged(QWidget* now);
};

} // namespace orvalis
