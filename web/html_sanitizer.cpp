#include "web/html_sanitizer.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <memory>
#include <set>

#include "web/html.h"

namespace zeziza::web {

namespace {

const std::set<std::string, std::less<>> kAllowedTags = {
    "a", "b", "br", "em", "font", "i", "small", "span", "strong", "sub", "sup", "u"};
// Tags whose content is not text to show.
const std::set<std::string, std::less<>> kDroppedWithContent = {
    "script", "style", "iframe", "object", "embed",    "template", "noscript", "textarea",
    "title",  "svg",   "math",   "select", "frameset", "noembed",  "xmp"};

std::string name(const xmlChar* text) {
  return toLower(reinterpret_cast<const char*>(text));
}

// An http or https address, with no control character or blank a browser would skip.
bool webAddress(std::string_view url) {
  const bool plain =
      std::all_of(url.begin(), url.end(), [](unsigned char c) { return c > 0x20 && c != 0x7f; });
  const std::string lower = toLower(url);
  return plain && (lower.starts_with("http://") || lower.starts_with("https://")) &&
         lower.size() > lower.find("//") + 2;
}

// A colour name or #rgb value, a size of one or two characters, a face of letters.
bool safeValue(const std::string& attribute, std::string_view value) {
  const auto allowed = [&](auto predicate) {
    return !value.empty() && value.size() <= 40 &&
           std::all_of(value.begin(), value.end(), predicate);
  };
  if (attribute == "color") {
    return allowed([](unsigned char c) { return std::isalnum(c) || c == '#'; });
  }
  if (attribute == "size") {
    return allowed([](unsigned char c) { return std::isdigit(c) || c == '+' || c == '-'; });
  }
  return false;
}

std::string attributes(const xmlNode& element, const std::string& tag) {
  std::string out;
  for (const xmlAttr* a = element.properties; a; a = a->next) {
    const std::string attribute = name(a->name);
    std::unique_ptr<xmlChar, decltype(xmlFree)> raw(
        xmlNodeGetContent(reinterpret_cast<const xmlNode*>(a)), xmlFree);
    const std::string value = raw ? reinterpret_cast<const char*>(raw.get()) : "";
    const bool keep = (tag == "a" && attribute == "href" && webAddress(value)) ||
                      (tag == "a" && attribute == "title") ||
                      (tag == "font" && safeValue(attribute, value));
    if (keep) out += " " + attribute + "=\"" + escapeHtml(value) + "\"";
  }
  return out;
}

void rebuild(const xmlNode* node, std::string& out) {
  for (; node; node = node->next) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      if (node->content) out += escapeHtml(reinterpret_cast<const char*>(node->content), false);
      continue;
    }
    if (node->type != XML_ELEMENT_NODE) continue;  // comments, processing instructions
    const std::string tag = name(node->name);
    if (kDroppedWithContent.contains(tag)) continue;
    const std::string attrs = kAllowedTags.contains(tag) ? attributes(*node, tag) : "";
    // A link without a web address is kept as its text.
    const bool kept =
        kAllowedTags.contains(tag) && (tag != "a" || attrs.find(" href=") != std::string::npos);
    if (kept) out += "<" + tag + attrs + ">";
    if (tag == "br") continue;
    rebuild(node->children, out);
    if (kept) out += "</" + tag + ">";
  }
}

}  // namespace

std::string sanitizeHtml(std::string_view markup) {
  if (markup.empty()) return {};
  // Wrapped in a body of its own, so that the fragment is read as a body's content.
  const std::string document = "<html><body><div>" + std::string(markup) + "</div></body></html>";
  std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
      htmlReadMemory(document.data(), static_cast<int>(document.size()), nullptr, "UTF-8",
                     HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
      &xmlFreeDoc);
  if (!doc) return escapeHtml(markup, false);
  std::string out;
  const xmlNode* root = xmlDocGetRootElement(doc.get());
  for (const xmlNode* n = root ? root->children : nullptr; n; n = n->next) {
    if (n->type == XML_ELEMENT_NODE && name(n->name) == "body") rebuild(n->children, out);
  }
  return out;
}

}  // namespace zeziza::web
