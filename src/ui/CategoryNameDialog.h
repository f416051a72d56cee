#pragma once

#include "DeviceDialog.h"

namespace tripvane {

// "New category" (125) and "Edit category" (126): one name under the name rule. It asks; its
// flow adds the new name (a duplicate is refused silently) or renames the old one.
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

    // A new category, or a new name for oldName.
    explicit CategoryNameDialog(Services &services, std::optional<QString> oldName = std::nullopt);

    // The name chosen, in its stored form, once the dialog ended with its OK.
    const QString &chosenName() const { return m_name; }
    int okCode() const override { return m_ok; }
    int cancelCode() const override { return m_cancel; }

private:
    void accept() override;

    QString m_name;
    bool m_rename;
    int m_edit;
    int m_ok;
    int m_cancel;
};

} // namespace tripvane
