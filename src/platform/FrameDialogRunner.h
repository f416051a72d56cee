#pragma once

#include "Services.h"

namespace tripvane {

class DeviceFrame;

// Shows a full-screen dialog as the frame's top page and waits for its end code.
class FrameDialogRunner final : public DialogRunner
{
public:
    explicit FrameDialogRunner(DeviceFrame &frame)
        : m_frame(frame)
    {}
    int run(FramePage &page) override;

private:
    DeviceFrame &m_frame;
};

} // namespace tripvane
