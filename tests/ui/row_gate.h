#pragma once
// Holds a batch's thread at one row until the test releases it, or the batch is asked to stop:
// a test then sees a batch in its middle however fast the machine renames.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <stop_token>

#include "ui/window/batch_runner.h"

class TRowGate {
public:
    // Holds every batch `runner` starts from now on just after its row `row` (counted from 1).
    TRowGate(TBatchRunner* runner, std::size_t row) : m_state(std::make_shared<TState>()) {
        // The state is shared with the hook: a batch still held when the test ends finds it.
        runner->setRowHook([state = m_state, row](std::size_t done, const std::stop_token& stop) {
            if (done != row) return;
            state->Reached = true;
            std::unique_lock lock(state->Mutex);
            state->Changed.wait(lock, stop, [&state] { return state->Released; });
        });
    }

    // A batch has come to the row and waits there, or went on once released.
    bool reached() const { return m_state->Reached; }

    void release() {
        {
            const std::lock_guard lock(m_state->Mutex);
            m_state->Released = true;
        }
        m_state->Changed.notify_all();
    }

private:
    struct TState {
        std::mutex Mutex;
        std::condition_variable_any Changed;
        bool Released = false;
        std::atomic<bool> Reached = false;
    };
    std::shared_ptr<TState> m_state;
};
