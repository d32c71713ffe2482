#include "cloud/background_step.h"

#include <stdexcept>
#include <utility>

namespace zeziza::cloud {

BackgroundStep::~BackgroundStep() {
  if (thread_.joinable()) {
    progress_->requestStop();
    thread_.join();
  }
}

void BackgroundStep::start(std::function<void(Progress&)> work) {
  if (thread_.joinable()) throw std::logic_error("a step is already running");
  progress_ = std::make_unique<Progress>();
  outcome_ = {};
  ended_ = false;
  thread_ = std::thread([this, work = std::move(work)] {
    try {
      work(*progress_);
    } catch (const Refusal& e) {
      outcome_ = {false, true, e.what()};
    } catch (const std::exception& e) {
      outcome_ = {false, false, e.what()};
    }
    ended_ = true;
  });
}

BackgroundStep::Outcome BackgroundStep::collect() {
  if (thread_.joinable()) thread_.join();
  return outcome_;
}

}  // namespace zeziza::cloud
