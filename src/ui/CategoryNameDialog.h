#pragma once

#include "DeviceDialog.h"

namespace tripvane {

class TripLog;

// "New category" (125) and "Edit category" (126): one name under the name rule. A new name is
// added (a duplicate is refused silently); a rename replaces the old name, carried through the
// trips when the hub's check box says so.
class CategoryNameDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum Control {
        NewOkButton = 3,
        NewEdit = 1055,
        NewCancelButton = 1054,
        EditEdit = 1056,
        EditOkButton = 1052,
        EditCancelButton = 1057,
        PromptLabel = 1058,
    };

    // A new category.
    CategoryNameDialog(Services &services, TripLog &log);
    // Renames oldName.
    CategoryNameDialog(Services &services, TripLog &log, const QString &oldName, bool throughTrips);

    void command(int id) override;
    int cancelCode() const override { return m_cancel; }

protected:
    QString helpAnchor() const override { return QStringLiteral("Categories"); }

private:
    CategoryNameDialog(Services &services, TripLog &log, bool rename);
    void accept() override;

    TripLog &m_log;
    QString m_oldName;
    bool m_rename;
    bool m_throughTrips = false;
    int m_edit;
    int m_ok;
    int m_cancel;
};

} // namespace tripvane
