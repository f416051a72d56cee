#include "Services.h"

#include "StringTable.h"

namespace tripvane {

Services::Services(Parts parts)
    : m_parts(std::move(parts))
{}

Services::~Services() = default;

MessageAnswer Services::message(const QString &text, MessageIcon icon, MessageButtons buttons)
{
    waitCursor().restore();
    return messageBoxes().show({loadString(IDS_TITLE), text, buttons, icon});
}

MessageAnswer Services::message(int stringId, MessageIcon icon, MessageButtons buttons)
{
    return message(loadString(stringId), icon, buttons);
}

void Services::openHelp(const QString &anchor)
{
    const QString commandLine = anchor.isEmpty() ? QStringLiteral("\\Windows\\tripvane.htc")
                                                 : QStringLiteral("file:tripvaneppc.htm#") + anchor;
    if (!helpViewer().open(commandLine))
        message(QStringLiteral("The help viewer could not be started."), MessageIcon::Exclamation);
}

} // namespace tripvane
