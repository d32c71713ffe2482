#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "cloud/progress.h"

namespace zeziza::cloud {

// Runs one long step on a thread of its own so the page's requests stay quick. The page starts
// it, reads its progress on each timer tick, and collects the outcome once it has ended.
// Destroying it asks the step to stop and waits for it.
class BackgroundStep {
 public:
  BackgroundStep() = default;
  ~BackgroundStep();
  BackgroundStep(const BackgroundStep&) = delete;
  BackgroundStep& operator=(const BackgroundStep&) = delete;

  // Starts `work`; a step must not be running.
  void start(std::function<void(Progress&)> work);
  bool running() const { return thread_.joinable(); }
  // True once the work has returned or thrown; the outcome is then ready to collect.
  bool ended() const { return ended_; }
  Progress& progress() { return *progress_; }

  // After ended(): waits for the thread and returns the failure message, nullopt on success.
  // Work written by the step is safe to read after this returns.
  struct Outcome {
    bool ok = true;
    bool refused = false;  // the message is a refusal for the user, not a fault
    std::string message;
  };
  Outcome collect();

 private:
  std::unique_ptr<Progress> progress_ = std::make_unique<Progress>();
  std::thread thread_;
  std::atomic<bool> ended_{false};
  Outcome outcome_;
};

}  // namespace zeziza::cloud
