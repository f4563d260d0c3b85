// The table of known SAF-T (PT) versions. The schema bytes come from sources
// generated at build time from third_party/reference (see verify_layer.cmake).
#include "verify/schema_versions.h"

#include <array>

namespace varnel {
extern const unsigned char kSchemaSaftPt10301[];
extern const std::size_t kSchemaSaftPt10301Size;
extern const unsigned char kSchemaSaftPt10401[];
extern const std::size_t kSchemaSaftPt10401Size;
}  // namespace varnel

namespace varnel::verify {

namespace {

// The constraint names are the same in 1.03_01 and 1.04_01.
constexpr std::array<std::string_view, 4> kCustomerKeyReferences = {
    "InvoiceCustomerIDConstraint", "WorkDocumentDocumentCustomerIDConstraint",
    "PaymentPaymentRefNoCustomerIDConstraint", "StockMovementCustomerIDConstraint"};
constexpr std::array<std::string_view, 1> kSupplierKeyReferences = {"StockMovementSupplierIDConstraint"};
constexpr std::array<std::string_view, 3> kProductKeyReferences = {
    "InvoiceProductCodeConstraint", "WorkDocumentDocumentProductCodeConstraint",
    "StockMovementProductCodeConstraint"};
// "DocumentNumberConstraint" (stock movements) is also the end of the
// working documents' constraint name.
constexpr std::array<std::string_view, 3> kDocumentNumberKeys = {"InvoiceNoConstraint", "DocumentNumberConstraint",
                                                                 "PaymentPaymentRefNoConstraint"};

const std::array<SchemaVersion, 2>& Versions() {
  static const std::array<SchemaVersion, 2> versions = {{
      {"1.03_01", "urn:OECD:StandardAuditFile-Tax:PT_1.03_01", kSchemaSaftPt10301, kSchemaSaftPt10301Size, 172,
       kCustomerKeyReferences, kSupplierKeyReferences, kProductKeyReferences, kDocumentNumberKeys},
      {"1.04_01", "urn:OECD:StandardAuditFile-Tax:PT_1.04_01", kSchemaSaftPt10401, kSchemaSaftPt10401Size, 172,
       kCustomerKeyReferences, kSupplierKeyReferences, kProductKeyReferences, kDocumentNumberKeys, true, true, true},
  }};
  return versions;
}

}  // namespace

std::span<const SchemaVersion> KnownSchemaVersions() { return Versions(); }

const SchemaVersion* FindSchemaVersion(std::string_view namespace_uri) {
  for (const SchemaVersion& version : Versions()) {
    if (version.namespace_uri == namespace_uri) return &version;
  }
  return nullptr;
}

}  // namespace varnel::verify
