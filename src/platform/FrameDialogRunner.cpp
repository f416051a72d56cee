#include "FrameDialogRunner.h"

#include "DeviceFrame.h"

#include <QDialog>
#include <QEventLoop>

namespace tripvane {

int FrameDialogRunner::run(QDialog &dialog)
{
    QWidget *previousParent = dialog.parentWidget();
    const bool okButton = dialog.property("shellOkButton").toBool();
    dialog.setWindowFlags(Qt::Widget);
    m_frame.pushPage(&dialog, dialog.windowTitle(), okButton);
    dialog.setResult(0);

    QEventLoop loop;
    int endCode = 0;
    const auto connection = QObject::connect(&dialog, &QDialog::finished, &loop, [&](int code) {
        endCode = code;
        loop.quit();
    });
    dialog.show();
    loop.exec(QEventLoop::DialogExec);
    QObject::disconnect(connection);

    m_frame.popPage(&dialog);
    dialog.setParent(previousParent);
    return endCode;
}

} // namespace tripvane
