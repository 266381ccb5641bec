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
  OrderedWork(int threads, qsizetype maxAhead, std::function<Output(const Input&)> makeOutput)
      : ahead(std::max<qsizetype>(1, maxAhead)), make(std::move(makeOutput)) {
    for (int t = 1; t < threads; ++t) workers.emplace_back([this] { Work(); });
  }
  ~OrderedWork() {
    {
      std::lock_guard lock(mutex);
      stopping = true;
    }
    inputAdded.notify_all();
    for (std::thread& worker : workers) worker.join();
  }
  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;

  void Add(Input input) {
    {
      std::lock_guard lock(mutex);
      inputs.push_back(std::move(input));
      outputs.emplace_back();
      ++count;
    }
    inputAdded.notify_one();
  }

  // The output of the next input in order; nullopt once every input added
  // has been given.
  std::optional<Output> Next() {
    std::unique_lock lock(mutex);
    if (base == count) return std::nullopt;
    while (!outputs.front()) {
      if (CanStart()) {
        MakeOne(lock);
        continue;
      }
      outputReady.wait(lock);
    }
    Output output = std::move(*outputs.front());
    outputs.pop_front();
    inputs.pop_front();
    ++base;
    lock.unlock();
    inputAdded.notify_all();  // the window moved on
    return output;
  }

 private:
  bool CanStart() const { return taken < count && taken < base + ahead; }

  // Makes the output of the next input not started; called and returns with the lock held.
  void MakeOne(std::unique_lock<std::mutex>& lock) {
    const qsizetype i = taken++;
    const Input input = inputs[size_t(i - base)];
    lock.unlock();
    Output output = make(input);
    lock.lock();
    outputs[size_t(i - base)] = std::move(output);
  }

  void Work() {
    std::unique_lock lock(mutex);
    for (;;) {
      inputAdded.wait(lock, [this] { return stopping || CanStart(); });
      if (stopping) return;
      const qsizetype i = taken;
      MakeOne(lock);
      if (i == base) outputReady.notify_one();
    }
  }

  const qsizetype ahead;
  const std::function<Output(const Input&)> make;
  std::mutex mutex;
  std::condition_variable inputAdded;  // or the window moved on, or stopping
  std::condition_variable outputReady;
  std::deque<Input> inputs;                   // from input base on
  std::deque<std::optional<Output>> outputs;  // likewise; empty until made
  qsizetype base = 0;                         // the next output to give
  qsizetype taken = 0;                        // the next input to start
  qsizetype count = 0;                        // inputs added
  bool stopping = false;
  std::vector<std::thread> workers;
};

}  // namespace orvex
