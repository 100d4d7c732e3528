#pragma once

#include <QDialog>
#include <array>

#include "core/shell/filetypeboxes.h"

class QCheckBox;
class QPushButton;

namespace zondari {

class AppContext;

// The music file types window: which extensions the player lists. MP3, WMA
// and M3U are grey: always music, never switched off.
class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(AppContext& ctx, QWidget* parent = nullptr);

    // Places the window below the catalogue window's Files button and ticks
    // the types of the stored list.
    void Load();

    void Check1_Click(int index);
    void Command3d1_Click(); // OK: stores the list and saves the settings
    void Command3d2_Click(); // Annulla

    // A box's value: 0 off, 1 on, 2 grey.
    int value(std::size_t index) const;
    void setValue(std::size_t index, int value);

    std::array<QCheckBox*, kFileTypeBoxes> Check1{};

private:
    // The window's controls, reached by tests through their object names.
    QPushButton* Command3d1;
    QPushButton* Command3d2;

    AppContext& ctx_;
};

} // namespace zondari
