#pragma once

#include "Records.h"
#include "Testkit.h"

#include <QRect>

#include <gtest/gtest.h>

#include <span>

namespace tripvane::gui {

inline MileageRecord trip(int year, int month, int day, std::int32_t distance,
                          const char *category = "Job", const char *memo = nullptr)
{
    MileageRecord r;
    r.setDate(makeDate(year, month, day));
    r.setDistance(distance);
    r.setCategory(QString::fromLatin1(category));
    if (memo)
        r.setMemo(QString::fromLatin1(memo));
    return r;
}

// A control of a template and its rectangle in each layout.
struct Rect
{
    int id;
    QRect portrait;
    QRect wide;
};

// Every control of the dialog stands where its layout puts it.
inline void expectRects(const DialogDriver &dialog, std::span<const Rect> rects, bool portrait)
{
    for (const Rect &r : rects)
        EXPECT_EQ(dialog.rect(r.id), portrait ? r.portrait : r.wide) << "control " << r.id;
}

} // namespace tripvane::gui
