#include "Testkit.h"

#include "FrameDialogRunner.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace tripvane {

MessageAnswer RecordingMessageBoxes::show(const MessageBoxRequest &request)
{
    shown.push_back({request, m_cursor.isShown()});
    if (onShow)
        onShow(request);
    if (forwardTo)
        return forwardTo->show(request);
    if (scripted.empty()) {
        ADD_FAILURE() << "unexpected message box: " << request.text.toStdString();
        // The harmless answer: a question is declined, so nothing is deleted or replaced.
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    const MessageAnswer answer = scripted.front();
    scripted.pop_front();
    return answer;
}

QStringList RecordingMessageBoxes::texts() const
{
    QStringList result;
    for (const Shown &box : shown)
        result.append(box.request.text);
    return result;
}

int ScriptedDialogRunner::run(FramePage &page)
{
    QDialog &dialog = page.pageDialog();
    ++runCount;
    if (scripts.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.metaObject()->className();
        return QDialog::Rejected;
    }
    const Script script = std::move(scripts.front());
    scripts.pop_front();
    dialog.setResult(QDialog::Rejected);
    if (!m_frame) {
        script(dialog);
        return dialog.result();
    }
    QTimer::singleShot(0, &dialog, [&] {
        script(dialog);
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the script left " << dialog.metaObject()->className() << " open";
            page.pageCancel();
        }
    });
    return FrameDialogRunner(*m_frame).run(page);
}

namespace {

template<typename T> T &keep(std::unique_ptr<T> &slot, std::unique_ptr<T> made)
{
    slot = std::move(made);
    return *slot;
}

} // namespace

TestServices::TestServices()
    : TestServices(Services::Parts{}, new RecordingWaitCursor)
{}

TestServices::TestServices(Services::Parts parts, RecordingWaitCursor *cursor)
    : waitCursor(*cursor)
    , messageBoxes(static_cast<RecordingMessageBoxes &>(
          keep<MessageBoxes>(parts.messageBoxes, std::make_unique<RecordingMessageBoxes>(*cursor))))
    , inputPanel(static_cast<RecordingInputPanel &>(
          keep<InputPanel>(parts.inputPanel, std::make_unique<RecordingInputPanel>())))
    , beeper(static_cast<RecordingBeeper &>(
          keep<Beeper>(parts.beeper, std::make_unique<RecordingBeeper>())))
    , sound(static_cast<RecordingSound &>(
          keep<Sound>(parts.sound, std::make_unique<RecordingSound>())))
    , helpViewer(static_cast<RecordingHelpViewer &>(
          keep<HelpViewer>(parts.helpViewer, std::make_unique<RecordingHelpViewer>())))
    , clock(static_cast<FixedClock &>(keep<Clock>(parts.clock, std::make_unique<FixedClock>())))
    , dialogRunner(static_cast<ScriptedDialogRunner &>(
          keep<DialogRunner>(parts.dialogRunner, std::make_unique<ScriptedDialogRunner>())))
{
    parts.waitCursor.reset(cursor);
    m_services = std::make_unique<Services>(std::move(parts));
}

} // namespace tripvane
