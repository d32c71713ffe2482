// Steps 2 to 4 of the cloud upload page: they run on a background step while the page timer
// shows the log growing.
#include <algorithm>
#include <charconv>
#include <memory>

#include "analysis/statistics_settings.h"
#include "cloud/publish_lock.h"
#include "cloud/upload.h"
#include "pages/analysis/score_scale.h"
#include "pages/cloud/cloud_upload.h"
#include "web/user_session.h"

namespace zeziza::pages {

namespace {

std::vector<std::string> idTexts(const std::vector<std::int64_t>& ids) {
  std::vector<std::string> out;
  for (const auto id : ids) out.push_back(std::to_string(id));
  return out;
}

std::vector<std::int64_t> idsOf(const std::vector<std::string>& texts) {
  std::vector<std::int64_t> out;
  for (const auto& t : texts) out.push_back(std::stoll(t));
  return out;
}

bool allDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<std::string> CloudUploadPage::chosen(const web::ComboBox& combo) const {
  if (combo.ItemIndex > 0) return {combo.text()};
  return {combo.Items.begin() + (combo.Items.empty() ? 0 : 1), combo.Items.end()};
}

int CloudUploadPage::chosenDays() const {
  const std::string& caption = periodBox.text();
  int days = 0;
  std::from_chars(caption.data(), caption.data() + caption.size(), days);
  return days;
}

void CloudUploadPage::fillLoopLists(const cloud::LoopLists& loops) {
  unitList.Items = loops.units.names;
  unitIdList.Items = idTexts(loops.units.ids);
  gradeList.Items = loops.grades.names;
  gradeIdList.Items = idTexts(loops.grades.ids);
  classList.Items = loops.classes.names;
  classIdList.Items = idTexts(loops.classes.ids);
  subjectList.Items = loops.subjects.names;
  subjectIdList.Items = idTexts(loops.subjects.ids);
}

cloud::LoopLists CloudUploadPage::loopLists() const {
  return {{unitList.Items, idsOf(unitIdList.Items)},
          {gradeList.Items, idsOf(gradeIdList.Items)},
          {classList.Items, idsOf(classIdList.Items)},
          {subjectList.Items, idsOf(subjectIdList.Items)}};
}

bool CloudUploadPage::startStep(StepWork work, std::function<void()> finish) {
  auto lease = web::currentSession().context().publishLock().tryAcquire();
  if (!lease) {
    web::ShowMessage(kBusyMessage);
    return false;
  }
  auto held = std::make_shared<cloud::PublishLease>(std::move(*lease));
  finish_ = std::move(finish);
  sentCount.Caption.clear();
  step_.start([held, work = std::move(work)](cloud::Progress& progress) mutable {
    // The lease goes back as the work ends, before the page can see that it has.
    const auto mine = std::move(held);
    work(progress, *mine);
  });
  enableButtons();
  return true;
}

void CloudUploadPage::onPoll() {
  pollStep();
}

void CloudUploadPage::pollStep() {
  if (!step_.running()) return;
  for (auto& line : step_.progress().takeLines()) {
    logMemo.Lines.push_back(std::move(line));
  }
  if (const auto sent = step_.progress().sent(); sent > 0) {
    sentCount.Caption = "已发送" + std::to_string(sent) + "行";
  }
  if (!step_.ended()) return;
  const auto outcome = step_.collect();
  for (auto& line : step_.progress().takeLines()) {
    logMemo.Lines.push_back(std::move(line));
  }
  if (outcome.ok) {
    if (finish_) finish_();
  } else {
    web::ShowMessage(outcome.message);
  }
  finish_ = nullptr;
  enableButtons();
  paintSteps();
}

void CloudUploadPage::onPrepare() {
  if (!allowed()) return;
  auto& session = web::currentSession();
  if (session.login.defaultExam.empty()) return web::ShowMessage(kNoExamMessage);
  cloud::PreparationRequest request;
  request.dataFile = session.dataFolder().data();
  request.tempFile = session.dataFolder().temp();
  request.conninfo = cloudConnection();
  request.account = account_;
  request.exam = session.login.defaultExam;
  request.subjectList = session.context().settings().get()->subjects;
  request.ranks = {overallRanksBox.Checked, unitRanksBox.Checked, classRanksBox.Checked,
                   sessionRankMode() == analysis::RankMode::Shared};
  request.averages = sessionAverageBasis();
  request.units = chosen(unitBox);
  request.grades = chosen(gradeBox);
  request.classes = chosen(classBox);
  request.subjects = chosen(subjectBox);
  prepared_.reset();
  startStep(
      [this, request = std::move(request)](cloud::Progress& progress, cloud::PublishLease& lease) {
        prepared_ = cloud::prepare(request, lease, progress);
      },
      [this] {
        fillLoopLists(prepared_->loops);
        preparation_ = prepared_->preparation;
        if (prepared_->project) {
          periodNote.Caption = "考试项目已存在查询有效期截至到：" + prepared_->project->periodEnd;
          periodBox.Enabled = false;
        }
        prepareTitle.Caption = "第二步：数据准备[已完成]";
        stage_ = Stage::Prepared;
      });
  pollStep();
}

void CloudUploadPage::onSendRoster() {
  if (!allowed()) return;
  std::optional<std::string> shared;
  if (sharedPasswordBox.Checked) {
    if (!allDigits(defaultPasswordEdit.Text)) return web::ShowMessage(kPasswordDigitsMessage);
    shared = defaultPasswordEdit.Text;
  }
  if (unitList.Items.empty() || gradeList.Items.empty() || classList.Items.empty()) {
    return web::ShowMessage(kPrepareFirstMessage);
  }
  cloud::RosterRequest request{web::currentSession().dataFolder().data(), cloudConnection(),
                               account_, std::move(shared), loopLists()};
  startStep(
      [request = std::move(request)](cloud::Progress& progress, cloud::PublishLease&) {
        cloud::uploadRoster(request, progress);
      },
      [] {});
  pollStep();
}

void CloudUploadPage::onPublish() {
  if (!allowed()) return;
  auto& session = web::currentSession();
  const auto settings = session.context().settings().get();
  cloud::PublishRequest request;
  request.dataFile = session.dataFolder().data();
  request.tempFile = session.dataFolder().temp();
  request.conninfo = cloudConnection();
  request.account = account_;
  request.exam = session.login.defaultExam;
  request.days = chosenDays();
  request.loops = loopLists();
  request.choice = {overallRankingBox.Checked, unitRankingBox.Checked,
                    classRankingBox.Checked,   overallStatisticsBox.Checked,
                    unitStatisticsBox.Checked, classStatisticsBox.Checked};
  request.thresholds =
      analysis::parseThresholds(settings->excellent, settings->good, settings->pass);
  request.bands = analysis::parseBands(settings->bands);
  request.subjectList = settings->subjects;
  const ScoreScale scale = sessionScoreScale();
  request.fullMarks = scale.fullMarks();
  request.rates = scale.rateBasis();
  request.rankMode = sessionRankMode();
  request.preparation = preparation_;
  auto result = std::make_shared<cloud::PublishResult>();
  startStep([request = std::move(request), result, &lock = session.context().publishLock()](
                cloud::Progress& progress,
                cloud::PublishLease&) { *result = cloud::publishExam(request, lock, progress); },
            [this, result] { project_ = result->project; });
  pollStep();
}

}  // namespace zeziza::pages
