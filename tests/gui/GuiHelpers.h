#pragma once

#include "Records.h"
#include "Testkit.h"

#include <QRect>

#include <gtest/gtest.h>

#include <span>

namespace tripvane::gui {

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
