#pragma once

namespace zeziza::web {

// The hidden fields every page form carries; the client script (zeziza.js) posts the same
// names.
namespace field {
inline constexpr const char* kAction = "IW_Action";            // the control that acted
inline constexpr const char* kActionParam = "IW_ActionParam";  // what it says (a row, a page)
inline constexpr const char* kFormName = "IW_FormName";
inline constexpr const char* kFormClass = "IW_FormClass";
inline constexpr const char* kSession = "IW_SessionID_";
inline constexpr const char* kTrack = "IW_TrackID_";  // the answer the form came from
inline constexpr const char* kWidth = "IW_width";     // the browser window, from the start page
inline constexpr const char* kHeight = "IW_height";
// An outdated page asks for the current one instead of acting.
inline constexpr const char* kResync = "IW_Resync";
// A page's "still here", which keeps its session from timing out.
inline constexpr const char* kKeepAlive = "IW_KeepAlive";
}  // namespace field

}  // namespace zeziza::web
