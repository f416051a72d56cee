#pragma once

#include <QIcon>
#include <QPixmap>

namespace tripvane {

// Images of the list views (bitmap 128): 0 and 1 the sort arrows, 2 no order, 3 a trip with a
// memo, 4 a trip without, 5 a row of the report and route lists.
enum ListImage {
    ImageAscending = 0,
    ImageDescending = 1,
    ImageNoOrder = 2,
    ImageMemo = 3,
    ImageNoMemo = 4,
    ImageRow = 5
};

QIcon listImage(int index);
// Command-bar buttons (bitmap 106): 0 categories, 1 report, 2 undo, 3 Mileage Book.
QIcon commandBarImage(int index);
// The odometer picture of the status dialog (bitmap 137).
QPixmap odometerPicture();
// The program icon (icon 101).
QIcon programIcon();

} // namespace tripvane
