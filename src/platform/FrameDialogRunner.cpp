#include "FrameDialogRunner.h"

#include "DeviceFrame.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>

namespace tripvane {

int FrameDialogRunner::run(FramePage &page)
{
    QDialog &dialog = page.pageDialog();
    // Whatever had the focus gets it back when this page goes: a dialog under it, or the list.
    const QPointer<QWidget> previousFocus = QApplication::focusWidget();
    // The dialog chose its field before it was shown; becoming a page of the frame forgets it.
    const QPointer<QWidget> field = dialog.focusWidget();
    QWidget *previousParent = dialog.parentWidget();
    dialog.setWindowFlags(Qt::Widget);
    m_frame.pushPage(page);
    dialog.setResult(0);

    QEventLoop loop;
    int endCode = 0;
    const auto connection = QObject::connect(&dialog, &QDialog::finished, &loop, [&](int code) {
        endCode = code;
        loop.quit();
    });
    dialog.show();
    if (field)
        field->setFocus(Qt::OtherFocusReason);
    loop.exec(QEventLoop::DialogExec);
    QObject::disconnect(connection);

    m_frame.popPage(page);
    dialog.setParent(previousParent);
    if (previousFocus && previousFocus->isVisible())
        previousFocus->setFocus(Qt::OtherFocusReason);
    return endCode;
}

} // namespace tripvane
