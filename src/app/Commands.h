#pragma once

namespace tripvane {

// Command ids of the command bar and its menus.
enum Command : int {
    CmdMileageMenu = 40001,
    CmdNew = 40002,
    CmdAbout = 40004,
    CmdExit = 40011,
    CmdEditCategories = 40019,
    CmdMileageReport = 40021,
    CmdDeleteByRange = 40042,
    CmdToolsMenu = 40043,
    CmdExportRecords = 40045,
    CmdViewOptions = 40046,
    CmdUndo = 40049,
    CmdMileageBook = 40050,
    CmdEmptyUndo = 40051,
    CmdPrintMileageLog = 40060, // ours: after the design's ids
    ButtonCategories = 551,
    ButtonReport = 552,
    ButtonUndo = 553,
    ButtonMileageBook = 554,
};

} // namespace tripvane
