#include "web/page_renderer.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "web/hidden_fields.h"
#include "web/html.h"
#include "web/page.h"

namespace zeziza::web {

namespace {

void writeHead(HtmlWriter& out, std::string_view title) {
  out.raw("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">");
  // A phone lays the page out at its own width (a teacher entering scores in a classroom);
  // the style sheet keeps the frame at 1000 px and more on anything wider than a phone.
  out.raw("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">");
  out.raw("<title>").text(title).raw("</title>");
  // The school's look first, then the program's layout: an older files/mjy.css left in a data
  // folder cannot hold back the layout of a newer program.
  out.raw("<link rel=\"stylesheet\" href=\"/files/mjy.css\">");
  out.raw("<link rel=\"stylesheet\" href=\"/css/zeziza.css?v=").raw(resourceVersion()).raw("\">");
  out.raw("<script src=\"/js/zeziza.js?v=").raw(resourceVersion()).raw("\" defer></script>");
  out.raw("</head>");
}

void writeHidden(HtmlWriter& out, std::string_view name, std::string_view value) {
  out.raw("<input type=\"hidden\"").attr("name", name).attr("id", name).attr("value", value);
  out.raw(">");
}

void writeTrackingFields(HtmlWriter& out, const AnswerState& state, std::string_view formName,
                         std::string_view formClass) {
  writeHidden(out, field::kAction, "");
  writeHidden(out, field::kActionParam, "");
  writeHidden(out, field::kFormName, formName);
  writeHidden(out, field::kFormClass, formClass);
  writeHidden(out, field::kSession, state.sessionId);
  writeHidden(out, field::kTrack, std::to_string(state.trackId));
  writeHidden(out, field::kWidth, "");
  writeHidden(out, field::kHeight, "");
}

// Data for the client script as JSON; "<" is escaped so no text can close the script element.
void writeClientState(HtmlWriter& out, const nlohmann::json& state) {
  const std::string json = state.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  out.raw("<script type=\"application/json\" id=\"iw-state\">");
  out.raw(jsonForScriptElement(json)).raw("</script>");
}

// The script resources the shown controls draw with, each loaded once.
void writeControlScripts(HtmlWriter& out, const std::vector<std::string>& scripts) {
  std::vector<std::string> written;
  for (const auto& name : scripts) {
    if (std::find(written.begin(), written.end(), name) != written.end()) continue;
    written.push_back(name);
    out.raw("<script")
        .attr("src", "/js/" + name + "?v=" + std::string(resourceVersion()))
        .raw(" defer></script>");
  }
}

}  // namespace

std::string renderPage(const Page& page, const AnswerState& state) {
  HtmlWriter out;
  renderPage(page, state, out);
  return out.take();
}

void renderPage(const Page& page, const AnswerState& state, HtmlWriter& out) {
  writeHead(out, page.Title);
  out.raw("<body").attr("class", "iw-page " + toLower(page.className())).raw(">");
  out.raw("<form id=\"IWForm\" method=\"post\" action=\"/EXEC\" enctype=\"multipart/form-data\"");
  out.attr("data-lock", page.LockOnSubmit ? "1" : "0").raw(" autocomplete=\"off\">");
  writeTrackingFields(out, state, page.className(), page.className());
  out.raw("<div class=\"iw-content\">");
  page.renderChildren(out);
  out.raw("</div></form><div id=\"iw-lock\"></div>");

  ClientScriptState script;
  for (const Control* control : page.controls()) {
    if (control->effectivelyVisible()) control->collectScript(script);
  }
  nlohmann::json timers = nlohmann::json::array();
  for (const auto& t : script.timers) timers.push_back({{"id", t.id}, {"interval", t.interval}});
  writeClientState(out, {{"messages", state.messages},
                         {"focus", state.focus},
                         {"timers", timers},
                         {"keepAlive", state.keepAlive.count()}});
  writeControlScripts(out, script.scripts);
  out.raw("</body></html>");
  out.flush();
}

std::string renderStartPage(const AnswerState& state) {
  HtmlWriter out;
  writeHead(out, "");
  out.raw("<body class=\"iw-start\">");
  out.raw("<form id=\"IWForm\" method=\"post\" action=\"/\" enctype=\"multipart/form-data\">");
  writeTrackingFields(out, state, "", "");
  out.raw("<noscript>请启用浏览器的JavaScript。</noscript></form>");
  writeClientState(out, {{"start", true}});
  out.raw("</body></html>");
  return out.take();
}

std::string renderResumePage() {
  HtmlWriter out;
  writeHead(out, "");
  out.raw("<body class=\"iw-start\">");
  out.raw("<form id=\"IWForm\" method=\"post\" action=\"/EXEC\" enctype=\"multipart/form-data\">");
  writeTrackingFields(out, {}, "", "");
  writeHidden(out, field::kResync, "1");
  out.raw("<noscript>请启用浏览器的JavaScript。</noscript></form>");
  writeClientState(out, {{"resume", true}});
  out.raw("</body></html>");
  return out.take();
}

}  // namespace zeziza::web

namespace zeziza::web {

std::string renderErrorPage(const AnswerState& state) {
  HtmlWriter out;
  writeHead(out, "");
  out.raw("<body class=\"iw-page\">");
  out.raw("<form id=\"IWForm\" method=\"post\" action=\"/EXEC\" enctype=\"multipart/form-data\"");
  out.raw(" data-lock=\"1\">");
  writeTrackingFields(out, state, "", "");
  out.raw("<div class=\"iw-content\"><p>页面无法显示。</p>");
  out.raw("<button type=\"button\" class=\"btn\" data-iw-action=\"\">继续</button></div>");
  out.raw("</form><div id=\"iw-lock\"></div>");
  writeClientState(out, {{"messages", state.messages}});
  out.raw("</body></html>");
  return out.take();
}

}  // namespace zeziza::web
