// The stamps of the demo documents. A stamp never passes 23:59:59 and the
// first stamp of an event never passes closing time; one draw spreads each
// stamp within the gap to the next document, and a second draw (60 to 900
// seconds) places a later document of an event after the one before.
#include "tools/demo_timeline.h"

#include <algorithm>

namespace varnel::demo {

namespace {

constexpr int kOpeningSecond = 8 * 3600;             // 08:00
constexpr int kClosingSecond = 23 * 3600 + 30 * 60;  // 23:30
constexpr int kLastSecond = 24 * 3600 - 1;

}  // namespace

DemoTimeline::DemoTimeline(const DemoDatabaseOptions& options, DemoRandom& random)
    : m_options(options), m_random(random) {}

Stamp DemoTimeline::BaseStamp(std::int64_t index) const {
  std::int64_t days = m_options.period.length();
  std::int64_t total = m_options.documents;
  std::int64_t day = m_options.period.first_day + index * days / total;
  std::int64_t position = index * days % total;
  std::int64_t span = kClosingSecond - kOpeningSecond;
  return {day, static_cast<int>(kOpeningSecond + position * span / total)};
}

Stamp DemoTimeline::TakeStamp(std::int64_t index) {
  std::int64_t days = m_options.period.length();
  std::int64_t span = kClosingSecond - kOpeningSecond;
  Stamp stamp = BaseStamp(index);
  // Spread within the gap to the next document, never past closing time.
  std::int64_t gap = std::min({span * days / m_options.documents, span,
                               static_cast<std::int64_t>(kClosingSecond - stamp.second)});
  stamp.second += static_cast<int>(m_random.Below(static_cast<std::uint64_t>(std::max<std::int64_t>(1, gap))));
  if (!m_event_started) {
    m_event_started = true;
  } else if (stamp.day != m_event_stamp.day || stamp.second <= m_event_stamp.second) {
    stamp = {m_event_stamp.day,
             std::min(kLastSecond, m_event_stamp.second + static_cast<int>(m_random.Between(60, 900)))};
  }
  stamp.second = std::min(stamp.second, kLastSecond);
  m_event_stamp = stamp;
  return stamp;
}

}  // namespace varnel::demo
