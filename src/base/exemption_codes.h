// The tax authority's exemption codes ("M" and two digits, TaxExemptionCode
// of a 1.04_01 audit file) for the exemptions the point-of-sale database
// knows only by its own codes and the norm's text. A rule maps a key to a
// code: the key is either an exemption code of the database ("M07L") or a
// phrase of the norm ("artigo 53"), matched in the norm's words ignoring
// letter case, accents and punctuation ("Regime de isenção - Artigo 53.º"
// holds "artigo 53", "Artigo 53.º-A" does not hold "artigo 5"). The shipped
// rules follow the tax authority's public table of exemption codes; the
// settings file adds to them and overrides them key by key.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

struct ExemptionCodeRule {
  std::string key;   // a database exemption code or a phrase of the norm
  std::string code;  // "M07"
};

// "M" followed by exactly two digits.
bool IsExemptionCode(std::string_view text);

// The norm's words: ASCII letters folded to lower case, accented Latin letters
// to their base letter, every other character a word break; words joined by
// one blank.
std::string NormWords(std::string_view text);

// The shipped rules: the usual norms of the VAT code and of the rules for
// trade within the European Union.
const std::vector<ExemptionCodeRule>& DefaultExemptionCodeRules();

// The shipped rules with overrides laid over them: an override replaces the
// rule of the same key (ignoring letter case) and adds one for a new key.
std::vector<ExemptionCodeRule> WithOverrides(std::vector<ExemptionCodeRule> rules,
                                             const std::vector<ExemptionCodeRule>& overrides);

// The code of an exemption: exemption_code itself when it is one; else the
// rule whose key is exemption_code; else the rule with the longest phrase
// that the norm holds; nothing when no rule fits.
std::optional<std::string> FindExemptionCode(const std::vector<ExemptionCodeRule>& rules,
                                             std::string_view exemption_code, std::string_view norm);

}  // namespace varnel
