// With HOPLIN_TRACE_FRAMES set, every frame put on the screen is logged on stderr, for
// measuring the program from outside: "hoplin-trace: frame <seconds> <microseconds>", the
// monotonic clock's time of the frame, and the UI thread's CPU time for the pass of the
// message loop that painted it, from before its wait to its end. A frame painted outside a
// pass has no CPU time. The line is written once the pass is over, so that writing it is not
// counted. UI thread only.
#pragma once

// Marks a frame as put on the screen now.
void AfxTraceFrame();

// One pass of the message loop, for the frames painted during it.
class CFrameTracePass {
public:
    CFrameTracePass();
    ~CFrameTracePass();
    CFrameTracePass(const CFrameTracePass&) = delete;
    CFrameTracePass& operator=(const CFrameTracePass&) = delete;

private:
    double m_fCpuStart;
};
