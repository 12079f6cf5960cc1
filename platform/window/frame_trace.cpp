#include "platform/window/frame_trace.h"

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kMicrosecondsPerSecond = 1e6;
constexpr double kNanosecondsPerMicrosecond = 1e3;

bool Tracing() {
    static const bool s_bTrace = [] {
        const char* pszValue = std::getenv("HOPLIN_TRACE_FRAMES");
        return pszValue != nullptr && *pszValue != '\0';
    }();
    return s_bTrace;
}

double ThreadCpuMicroseconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * kMicrosecondsPerSecond +
           static_cast<double>(ts.tv_nsec) / kNanosecondsPerMicrosecond;
}

// The time of a frame painted and not yet logged, or a negative value.
double g_fUntracedFrame = -1;

// Logs the frame painted since the last line, if there is one; fCpu < 0 when unknown.
void LogTracedFrame(double fCpu) {
    if (g_fUntracedFrame < 0) {
        return;
    }
    if (fCpu < 0) {
        std::fprintf(stderr, "hoplin-trace: frame %.6f\n", g_fUntracedFrame);
    } else {
        std::fprintf(stderr, "hoplin-trace: frame %.6f %.1f\n", g_fUntracedFrame, fCpu);
    }
    g_fUntracedFrame = -1;
}

}  // namespace

void AfxTraceFrame() {
    if (Tracing()) {
        g_fUntracedFrame =
            std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
                .count();
    }
}

CFrameTracePass::CFrameTracePass() : m_fCpuStart(Tracing() ? ThreadCpuMicroseconds() : 0) {
    LogTracedFrame(-1);
}

CFrameTracePass::~CFrameTracePass() {
    if (g_fUntracedFrame >= 0) {
        LogTracedFrame(ThreadCpuMicroseconds() - m_fCpuStart);
    }
}
