#pragma once

#include <QString>

class QDialog;

namespace tripvane {

// The command that the frame's title-bar "ok" sends to the page on top.
inline constexpr int TitleBarOkCommand = 1;

// What the device frame needs of a full-screen dialog shown as its top page.
class FramePage
{
public:
    virtual ~FramePage() = default;

    virtual QDialog &pageDialog() = 0;
    // A button press of the page, or TitleBarOkCommand.
    virtual void pageCommand(int id) = 0;
    // F1 while the page is on top: its own section of the help file.
    virtual void pageHelp() = 0;
    // Leaves the page as its Cancel does (Escape, or a close asked from outside).
    virtual void pageCancel() = 0;
};

} // namespace tripvane
