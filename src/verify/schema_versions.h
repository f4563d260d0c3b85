// The SAF-T (PT) versions the verifier knows, one entry each: the namespace
// of the root element that identifies the version, the official schema
// compiled into the program, and every rule that differs between versions.
// A new version is one more entry here (and its embedded schema); the checks
// read their version-specific values from the entry, never from constants of
// their own.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace varnel::verify {

struct SchemaVersion {
  std::string_view label;          // "1.03_01", as AuditFileVersion writes it
  std::string_view namespace_uri;  // the root element's namespace
  const unsigned char* schema_bytes;
  std::size_t schema_size;
  // Characters of a signed Hash: base64 of an RSA-1024 signature.
  std::size_t signed_hash_length;
  // The schema's key reference constraints that this verifier's own
  // reference checks cover document by document: the schema's messages for
  // them are counted, not listed (see SchemaMessages).
  std::span<const std::string_view> customer_key_references;
  std::span<const std::string_view> supplier_key_references;
  std::span<const std::string_view> product_key_references;
  std::span<const std::string_view> document_number_keys;
  // The rules the version adds that its schema copy cannot check: the ATCUD
  // of every document; the schema's assertions (see SchemaAssertions); a
  // credit note's References.
  bool atcud = false;
  bool assertions = false;
  bool credit_note_references = false;
};

std::span<const SchemaVersion> KnownSchemaVersions();
// The version whose root namespace is namespace_uri; nullptr when none is.
const SchemaVersion* FindSchemaVersion(std::string_view namespace_uri);

}  // namespace varnel::verify
