// Signs the demo documents. The signed text is built from the values the
// exporter will write for the document (the number with its series letter,
// the day, the stamp, the gross total with two decimals), so the demo's audit
// file carries a chain that verifies.
#include "tools/demo_signature.h"

#include <cstdlib>

#include "tools/demo_calendar.h"
#include "tools/demo_signing_key.h"

namespace varnel::demo {

namespace {

// The number prefix of a document code, as the signed numbers carry it.
std::string NumberPrefix(const std::string& code) { return code == "TK" ? "TV" : code; }

std::string SystemEntryText(std::int64_t day, int second) {
  std::string text = DayTimeText(day, second);
  text[10] = 'T';
  return text;
}

}  // namespace

std::string GrossTotalText(std::int64_t cents) {
  const std::int64_t magnitude = std::llabs(cents);
  std::string fraction = std::to_string(magnitude % 100);
  if (fraction.size() < 2) fraction.insert(0, "0");
  return (cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." + fraction;
}

std::string Base64Text(const std::vector<unsigned char>& bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    const std::uint32_t bits = static_cast<std::uint32_t>(bytes[i]) << 16 |
                               (left > 1 ? static_cast<std::uint32_t>(bytes[i + 1]) << 8 : 0) |
                               (left > 2 ? bytes[i + 2] : 0);
    text += kDigits[(bits >> 18) & 63];
    text += kDigits[(bits >> 12) & 63];
    text += left > 1 ? kDigits[(bits >> 6) & 63] : '=';
    text += left > 2 ? kDigits[bits & 63] : '=';
  }
  return text;
}

DemoSigner::DemoSigner(const DemoDatabaseOptions& options)
    : m_series_index(options.series_index),
      m_unsigned_per_thousand(options.unsigned_per_thousand),
      m_without_letter_per_thousand(options.without_series_letter_per_thousand),
      m_signer(DemoPrivateKey()) {}

DemoSignature DemoSigner::Sign(DemoRandom& random, const std::string& code, std::int64_t number, bool signs,
                               const SignedFields& fields) {
  const std::string prefix = NumberPrefix(code);
  const std::string series = prefix + " " + static_cast<char>('A' + m_series_index - 1);
  const std::string full_number = series + "/" + std::to_string(number);
  DemoSignature signature;
  signature.hash_control = "0";
  const auto kind = static_cast<int>(random.Below(1000));
  if (kind < m_unsigned_per_thousand) return signature;  // never signed: the exporter builds the number
  signature.signed_number =
      kind < m_unsigned_per_thousand + m_without_letter_per_thousand ? prefix + " /" + std::to_string(number) : full_number;
  if (!signs) return signature;
  std::string& previous = m_last_hash[series];
  const std::string text = DayText(fields.day) + ";" + SystemEntryText(fields.day, fields.second) + ";" +
                           full_number + ";" + GrossTotalText(fields.gross_cents) + ";" + previous;
  signature.hash = Base64Text(m_signer.Sign(text));
  signature.hash_control = std::to_string(kDemoKeyVersion);
  previous = signature.hash;
  return signature;
}

}  // namespace varnel::demo
