#include "PlaceholderDialog.h"

#include <QTimer>

namespace tripvane {

PlaceholderDialog::PlaceholderDialog(Services &services, const QString &caption, int endCode,
                                     const QString &helpAnchor)
    : DeviceDialog(services, caption, {}, true)
    , m_endCode(endCode)
    , m_helpAnchor(helpAnchor)
{}

void PlaceholderDialog::command(int)
{
    done(m_endCode);
}

void PlaceholderDialog::showEvent(QShowEvent *event)
{
    DeviceDialog::showEvent(event);
    QTimer::singleShot(0, this, [this] { done(m_endCode); });
}

} // namespace tripvane
