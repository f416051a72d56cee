#pragma once

#include "ControlLayout.h"

#include <QGroupBox>
#include <QLabel>
#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace tripvane::gui {

// Every control lies inside the area and no two that a user acts on overlap: a group box only
// frames the controls inside it, and a label may reach under its neighbour, as the pane's
// right-aligned labels do; controls that take turns in one place are never shown together. Extra
// widgets (a list view) are checked with the controls.
inline void expectControlsFit(const ControlSet &controls, QRect area, const char *what,
                              std::vector<const QWidget *> extra = {})
{
    std::erase(extra, nullptr);
    for (const auto &[id, widget] : controls.widgets())
        extra.push_back(widget);
    for (std::size_t i = 0; i < extra.size(); ++i) {
        const QRect rect = extra[i]->geometry();
        EXPECT_TRUE(area.contains(rect))
            << what << ": control " << controls.idOf(extra[i]) << " leaves the area";
        const auto passive = [](const QWidget *w) {
            return qobject_cast<const QGroupBox *>(w) || qobject_cast<const QLabel *>(w);
        };
        if (passive(extra[i]) || extra[i]->isHidden())
            continue;
        for (std::size_t j = i + 1; j < extra.size(); ++j) {
            if (passive(extra[j]) || extra[j]->isHidden())
                continue;
            EXPECT_FALSE(rect.intersects(extra[j]->geometry()))
                << what << ": controls " << controls.idOf(extra[i]) << " and "
                << controls.idOf(extra[j]) << " overlap";
        }
    }
}

} // namespace tripvane::gui
