// An ordinary restaurant's month, for the fault tests: customers, suppliers,
// products, VAT rates and exemption reasons, tickets and invoices with their
// lines, table consultations (some turned into sales), receipts settling
// invoices, and two documents that still need a customer, so the
// maintenance has work to do. Dates fall in January 2016, the harness's
// default period.
#pragma once

#include <cstdint>

#include "support/test_database.h"

namespace varnel::testing::reliability {

struct SampleSize {
  int sales = 4;          // TK and FA documents, alternately
  int consultations = 3;  // CM documents
  int receipts = 2;       // RC documents, each settling one invoice
};

void FillSampleDatabase(TestDatabase& database, const SampleSize& size = {});

// The highest customer code the sample starts with.
inline constexpr std::int64_t kSampleHighestCustomer = 4;

}  // namespace varnel::testing::reliability
