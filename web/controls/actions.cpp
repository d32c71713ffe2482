#include "web/controls/actions.h"

#include "web/controls/display.h"

namespace zeziza::web {

void Button::render(HtmlWriter& out) const {
  out.raw("<button type=\"button\"");
  writeIdentity(out, true);
  out.attr("class", Css).attr("data-iw-action", elementId());
  if (!Confirmation.empty()) out.attr("data-iw-confirm", Confirmation);
  if (!DiscardQuestion.empty()) out.attr("data-iw-discard", DiscardQuestion);
  if (!Enabled) out.raw(" disabled");
  out.raw(">").text(Caption).raw("</button>");
}

void Button::fire(std::string_view) {
  if (!OnClick) Control::fire({});
  OnClick();
}

void Link::render(HtmlWriter& out) const {
  if (!Enabled) {
    out.raw("<span");
    writeIdentity(out, false);
    out.attr("class", "lnk disabled").raw(">").text(Caption).raw("</span>");
    return;
  }
  out.raw("<a href=\"#\"");
  writeIdentity(out, false);
  out.attr("class", "lnk").attr("data-iw-action", elementId());
  if (!Confirmation.empty()) out.attr("data-iw-confirm", Confirmation);
  if (Download) out.attr("data-iw-download", "1");
  writeFontStyle(out, FontColor, 0, false);
  out.raw(">").text(Caption).raw("</a>");
}

void Link::fire(std::string_view) {
  if (!OnClick) Control::fire({});
  OnClick();
}

void Timer::collectScript(ClientScriptState& state) const {
  if (Enabled && Interval > 0) state.timers.push_back({elementId(), Interval});
}

// A timer without a handler still submits: that keeps the session alive.
void Timer::fire(std::string_view) {
  if (OnTimer) OnTimer();
}

}  // namespace zeziza::web
