#pragma once
// The resize rule shared by the five file dialogs, as a pure function of the window's outer
// size in twips. The left column (name, file list, type list) and the middle column
// (directories, drives) share any extra width equally; the buttons follow the middle column.
#include <cmath>

namespace tessan::ui {

inline constexpr int kDialogMinWidth = 6525;    // twips, outer
inline constexpr int kDialogMinHeight = 3540;
inline constexpr int kDialogDesignWidth = 7830;
inline constexpr int kDialogDesignHeight = 4605;

struct FileDialogLayout {
    int W = 0, H = 0;                 // the size after the minimum is applied
    int file1Height = 0, label2Top = 0, combo1Top = 0;
    int dir1Height = 0, label5Top = 0, drive1Top = 0;
    int leftWidth = 0;                // Text1, File1, Combo1
    int midWidth = 0;                 // Dir1, Drive1
    int midLeft = 0;                  // Label3, Label4, Dir1, Label5, Drive1
    int buttonsLeft = 0;              // Command1, Command2
};

inline FileDialogLayout LayoutFileDialog(int W, int H) {
    FileDialogLayout l;
    l.W = W < kDialogMinWidth ? kDialogMinWidth : W;
    l.H = H < kDialogMinHeight ? kDialogMinHeight : H;
    l.file1Height = l.H - 2100;
    l.label2Top = l.file1Height + 990;
    l.combo1Top = l.file1Height + 1230;
    l.dir1Height = l.H - 1890;
    l.label5Top = l.dir1Height + 780;
    l.drive1Top = l.dir1Height + 1020;
    const int half = int(std::floor((l.W - kDialogDesignWidth) / 2.0));
    l.leftWidth = half + 3015;
    l.midWidth = half + 2655;
    l.midLeft = l.leftWidth + 345;
    l.buttonsLeft = l.midWidth + l.leftWidth + 570;
    return l;
}

}  // namespace tessan::ui
