#pragma once

#include <QString>

namespace tripvane {

// Ids of the texts that code refers to by name.
enum StringId : int {
    IDS_TITLE = 1,
    IDS_CLASS_NAME = 2,
    IDS_MAKER = 4,
    IDS_MILEAGE_MENU = 40001,
    IDS_CATEGORY_HEADING = 40007,
    IDS_DELETE_RANGE_HEADING = 40010,
    IDS_DATE_COLUMN = 40012, // Category and Mileage follow
    IDS_TOOLS_MENU = 40017,
    IDS_NEW_BUTTON = 40038,
    IDS_ODOMETER_STATUS = 40005,
    IDS_ODOMETER_STATUS_ON = 40006,
    IDS_STATUS_PROBLEM = 40018,
    IDS_EDIT_ERROR = 40020,
    IDS_CANNOT_CONTINUE = 40023,
    IDS_BUILD_ERROR = 40024,
    IDS_DELETE_ERROR = 40057,
    IDS_ADD_ERROR = 40058,
    IDS_AMOUNT_INVALID = 40059,
    IDS_AMOUNT_TOO_LARGE = 40060,
    IDS_AMOUNT_ZERO = 40061,
    IDS_BALANCE_OVERFLOW = 40062,
    IDS_STARTS_NOT_BELOW_ENDS = 40063,
    IDS_RANGE_START_AFTER_END = 40028,
    IDS_DELETE_ITEM_QUESTION = 40039,
    IDS_DELETE_RECORD_QUESTION = 40040,
    IDS_UNDO_FULL = 40055,
    IDS_NAME_RULE = 40056,
    IDS_NO_RECORDS_FOUND = 40068,
    IDS_RECORDS_WILL_BE_DELETED = 40069,
    IDS_REPEAT_DELETE = 40070,
};

// The message for a refused amount (561, 562 or 563).
int amountMessage(int amountCheck);

// The text of a string-table id; a null string for an id the table does not hold.
QString loadString(int id);

} // namespace tripvane
