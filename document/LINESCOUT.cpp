// A long line read through on a thread: the checkpoints it finds are handed
// over a few pieces at a time, under a lock that is held only to copy them.
#include "document/LINESCOUT.h"

namespace {

constexpr std::size_t kPiecesAtATime = 64;

}  // namespace

CLSLineScout::CLSLineScout(DocumentSource source, std::uint64_t start, const CLSLineMap& map,
                           std::function<void()> ended)
    : m_state(std::make_shared<State>(std::move(source), start, map, std::move(ended)))
{
    auto held = std::make_unique<std::shared_ptr<State>>(m_state);
    const CLSHandle thread(CreateThread(nullptr, 0, Run, held.get(), CREATE_SUSPENDED, nullptr));
    if (!thread.Valid()) {
        m_state.reset();
        return;
    }
    // Work ahead of the user: the paint that asked for it comes first.
    SetThreadPriority(thread.Get(), THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread.Get());
    held.release();  // the thread's now; it ends on its own and nothing waits for it
}

CLSLineScout::~CLSLineScout()
{
    if (m_state) {
        m_state->stop = true;
    }
}

DWORD WINAPI CLSLineScout::Run(void* held)
{
    const std::unique_ptr<std::shared_ptr<State>> hold(static_cast<std::shared_ptr<State>*>(held));
    State& s = **hold;
    const LineByteReader read = [&s](std::uint64_t offset, unsigned char* into, DWORD n, DWORD* got) {
        *got = n;
        return ReadSourceBytes(s.source, s.start + offset, into, n);
    };
    while (!s.stop && !s.map.IsComplete()) {
        if (!s.map.ReadOn(read, kPiecesAtATime)) {
            break;  // the window thread reads on itself, and meets the failure there
        }
        const std::vector<LineCheckpoint>& points = s.map.Checkpoints();
        const std::lock_guard<std::mutex> guard(s.lock);
        s.found.insert(s.found.end(), points.begin() + static_cast<std::ptrdiff_t>(s.found.size()), points.end());
        s.complete = s.map.IsComplete();
    }
    s.reading = false;  // before the notice: its receiver asks for this
    if (!s.stop && s.ended) {
        s.ended();
    }
    return 0;
}

void CLSLineScout::Feed(CLSLineMap& map)
{
    if (!m_state) {
        return;
    }
    const std::lock_guard<std::mutex> guard(m_state->lock);
    map.Adopt(m_state->found, m_state->complete);
}

bool CLSLineScout::IsReading()
{
    return m_state && m_state->reading;
}

bool CLSLineScout::IsComplete()
{
    if (!m_state) {
        return false;
    }
    const std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->complete;
}
