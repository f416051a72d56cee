#pragma once

#include "DeviceDialog.h"

namespace tripvane {

// Stands for a dialog whose features are not there yet: it shows its caption and ends at once
// with the code that leaves it without change, so the command around it behaves as designed.
class PlaceholderDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    PlaceholderDialog(Services &services, const QString &caption, int endCode,
                      const QString &helpAnchor);

    void command(int id) override;
    int cancelCode() const override { return m_endCode; }

protected:
    QString helpAnchor() const override { return m_helpAnchor; }
    void showEvent(QShowEvent *event) override;

private:
    int m_endCode;
    QString m_helpAnchor;
};

} // namespace tripvane
