// When each demo document was issued. Document k of n falls on day
// k * days / n of the period, its time of day spread over the opening hours
// (08:00 to 23:30) in step with k, so numbers rise with time. The documents
// of one event (a table's consultations and its sale, say) stay on the day
// of the event's first document, a few minutes apart:
//   1. StartEvent(): the next stamp opens a new event;
//   2. TakeStamp(k): the first stamp of the event is drawn near document k's
//      base; every later one follows the one before, on the same day.
#pragma once

#include <cstdint>

#include "tools/demo_database.h"
#include "tools/demo_random.h"

namespace varnel::demo {

struct Stamp {
  std::int64_t day;
  int second;  // of the day
};

class DemoTimeline {
 public:
  DemoTimeline(const DemoDatabaseOptions& options, DemoRandom& random);

  // Where document index would fall before any spread.
  Stamp BaseStamp(std::int64_t index) const;
  void StartEvent() { m_event_started = false; }
  // The stamp of document index (the index-th document written).
  Stamp TakeStamp(std::int64_t index);

 private:
  const DemoDatabaseOptions& m_options;
  DemoRandom& m_random;
  bool m_event_started = false;
  Stamp m_event_stamp{0, 0};
};

}  // namespace varnel::demo
