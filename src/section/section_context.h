// What a section of the audit file gets from the run that writes it: the
// request and its period, the schema generation, the writer, the database
// its own queries run on, and the run's progress and abort. A section owns
// its queries: it makes them from its query texts on this database, opens,
// reads and closes them itself, and hands one to a helper only as a
// parameter. The run implements this interface; a test can give a section a
// context of its own.
//
// Abort: a section tests aborted() where the file allows it to stop and
// leaves by abortExit(), which throws AbortExit for the run to catch; the
// file then stands exactly as far as it was written.
#pragma once

#include <string_view>

#include "base/date_time.h"
#include "base/series_index.h"
#include "section/audit_file_rules.h"
#include "section/export_request.h"
#include "section/schema_generation.h"

namespace varnel {

class PosDatabase;
class XmlLineWriter;

// Thrown by the sections to leave the run by the abort exit; the run catches
// it and goes straight to its closing tail.
struct AbortExit {};

class SectionContext {
 public:
  virtual ~SectionContext() = default;

  virtual const ExportRequest& request() const = 0;
  virtual SchemaGeneration generation() const = 0;
  virtual XmlLineWriter& writer() = 0;
  virtual PosDatabase& database() = 0;

  // The stage's status text, then the front end's pending events.
  virtual void showStage(std::string_view text) = 0;
  // "Exportados <exported> de <count> registos...", then pending events.
  virtual void reportProgress() = 0;
  // One more document written; every 50th moves the progress bar.
  virtual void documentDone() = 0;
  virtual bool aborted() const = 0;

  // The period's first and last day without their time of day.
  DateTime periodStart() const { return request().datai.DatePart(); }
  DateTime periodEnd() const { return request().dataf.DatePart(); }
  SeriesIndex series() const { return request().fserienum; }
  TaxRegion taxRegion() const { return request().company.taxCountryRegion; }
  // What the request's SAF-T (PT) version writes differently.
  const AuditFileRules& fileRules() const { return RulesForVersion(request().saftVersion); }
  // Leaves the run by the abort exit.
  [[noreturn]] void abortExit() const { throw AbortExit{}; }
};

}  // namespace varnel
