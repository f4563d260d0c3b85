// The element name table: the names as texts once, and the cache of the
// reader's interned name addresses in front of it.
#include "verify/element_names.h"

#include <array>
#include <string>

namespace varnel::verify {

namespace {

struct ElementInfo {
  std::string_view name;
  bool holds_value;
};

constexpr std::array kElements = {
    ElementInfo{"", false},
#define VARNEL_ELEMENT_INFO(name, value) ElementInfo{#name, value},
    VARNEL_AUDIT_ELEMENTS(VARNEL_ELEMENT_INFO)
#undef VARNEL_ELEMENT_INFO
};

const std::unordered_map<std::string_view, Element>& ByName() {
  static const std::unordered_map<std::string_view, Element> by_name = [] {
    std::unordered_map<std::string_view, Element> map;
    for (std::size_t i = 1; i < kElements.size(); ++i) map.emplace(kElements[i].name, static_cast<Element>(i));
    return map;
  }();
  return by_name;
}

}  // namespace

bool HoldsValue(Element element) { return kElements[static_cast<std::size_t>(element)].holds_value; }

Element ElementNames::Find(const unsigned char* local_name) {
  const auto seen = m_seen.find(local_name);
  if (seen != m_seen.end()) return seen->second;
  const std::string_view text(reinterpret_cast<const char*>(local_name));
  const auto known = ByName().find(text);
  const Element element = known != ByName().end() ? known->second : Element::Other;
  m_seen.emplace(local_name, element);
  return element;
}

}  // namespace varnel::verify
