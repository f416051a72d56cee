#pragma once

#include <QDialog>

class QLabel;

namespace tripvane::setup {

// "Setup Tripvane PocketPC" (105): the picture, "Install Now..." and "Cancel", centred on the
// screen. It ends with 1000 when a device was chosen, 1001 otherwise.
class SetupDialog final : public QDialog
{
    Q_OBJECT

public:
    enum Control { InstallButton = 1000, CancelButton = 1001 };

    SetupDialog();

signals:
    // "Install Now...": the dialog hides; the handler ends it with 1000 or 1001.
    void installRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override { done(CancelButton); }
};

// "Connecting Windows CE device . . ." (106): "Please, wait..." until the device answers.
class ConnectingWindow final : public QDialog
{
    Q_OBJECT

public:
    ConnectingWindow();
    // "Connected." for a moment, then the window closes itself.
    void showConnected();
    QString text() const;

private:
    QLabel *m_text;
};

// Dialog units of the desktop's 8-point "MS Sans Serif" in pixels.
QRect dialogUnits(int x, int y, int width, int height);

} // namespace tripvane::setup
