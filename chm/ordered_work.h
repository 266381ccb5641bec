// Work on a stream of inputs spread over threads, its outputs handed back
// in the order of the inputs: reading a project's files while the links of
// the ones read are followed, the words of pages while they are joined.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace orvex {

// Makes an output of every input added, on `threads` threads in all (the
// one taking the outputs helps while it waits), and gives the outputs back
// in the order of the inputs to the thread that adds them; inputs may be
// added while outputs are taken. No input is started more than `ahead`
// past the output taken last, which bounds what is held. With one thread
// each output is made by Next on the calling thread, one after the other.
template <typename Input, typename Output>
class OrderedWork {
 public:
  OrderedWork(int threads, qsizetype ahead, std::function<Output(const Input&)> make)
      : m_ahead(std::max<qsizetype>(1, ahead)), m_make(std::move(make)) {
    for (int t = 1; t < threads; ++t) m_workers.emplace_back([this] { Work(); });
  }
  ~OrderedWork() {
    {
      std::lock_guard lock(m_mutex);
      m_stopping = true;
    }
    m_inputAdded.notify_all();
    for (std::thread& worker : m_workers) worker.join();
  }
  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;

  void Add(Input input) {
    {
      std::lock_guard lock(m_mutex);
      m_inputs.push_back(std::move(input));
      m_outputs.emplace_back();
      ++m_count;
    }
    m_inputAdded.notify_one();
  }

  // The output of the next input in order; nullopt once every input added
  // has been given.
  std::optional<Output> Next() {
    std::unique_lock lock(m_mutex);
    if (m_base == m_count) return std::nullopt;
    while (!m_outputs.front()) {
      if (CanStart()) {
        MakeOne(lock);
        continue;
      }
      m_outputReady.wait(lock);
    }
    Output output = std::move(*m_outputs.front());
    m_outputs.pop_front();
    m_inputs.pop_front();
    ++m_base;
    lock.unlock();
    m_inputAdded.notify_all();  // the window moved on
    return output;
  }

 private:
  bool CanStart() const { return m_taken < m_count && m_taken < m_base + m_ahead; }

  // Makes the output of the next input not started; called and returns with the lock held.
  void MakeOne(std::unique_lock<std::mutex>& lock) {
    const qsizetype i = m_taken++;
    const Input input = m_inputs[size_t(i - m_base)];
    lock.unlock();
    Output output = m_make(input);
    lock.lock();
    m_outputs[size_t(i - m_base)] = std::move(output);
  }

  void Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
      m_inputAdded.wait(lock, [this] { return m_stopping || CanStart(); });
      if (m_stopping) return;
      const qsizetype i = m_taken;
      MakeOne(lock);
      if (i == m_base) m_outputReady.notify_one();
    }
  }

  const qsizetype m_ahead;
  const std::function<Output(const Input&)> m_make;
  std::mutex m_mutex;
  std::condition_variable m_inputAdded;  // or the window moved on, or stopping
  std::condition_variable m_outputReady;
  std::deque<Input> m_inputs;                   // from input m_base on
  std::deque<std::optional<Output>> m_outputs;  // likewise; empty until made
  qsizetype m_base = 0;                         // the next output to give
  qsizetype m_taken = 0;                        // the next input to start
  qsizetype m_count = 0;                        // inputs added
  bool m_stopping = false;
  std::vector<std::thread> m_workers;
};

}  // namespace orvex
