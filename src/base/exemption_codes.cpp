// Exemption code look-up. The shipped phrases are written in NormWords'
// form; a phrase from the settings file is brought to it when compared.
#include "base/exemption_codes.h"

#include <algorithm>

#include "base/ascii_text.h"
#include "base/utf8.h"

namespace varnel {

namespace {

// Base letters of U+00C0 to U+00FF; "*" where the character is no letter
// (multiplication and division signs) or has no base letter (ß, æ, ð, þ).
constexpr std::string_view kLatin1BaseLetters =
    "aaaaaa*ceeeeiiii*nooooo*ouuuuy**"
    "aaaaaa*ceeeeiiii*nooooo*ouuuuy*y";

// Each phrase as NormWords writes it.
const std::vector<ExemptionCodeRule> kDefaults = {
    {"artigo 16 n 6", "M01"},
    {"decreto lei n 198 90", "M02"},
    {"artigo 13", "M04"},
    {"artigo 14", "M05"},
    {"artigo 15", "M06"},
    {"artigo 9", "M07"},
    {"artigo 62 alinea b", "M09"},
    {"artigo 53", "M10"},
    {"artigo 57", "M10"},
    {"regime de isencao", "M10"},
    {"regime particular do tabaco", "M11"},
    {"margem de lucro agencias de viagens", "M12"},
    {"bens em segunda mao", "M13"},
    {"objetos de arte", "M14"},
    {"objetos de colecao", "M15"},
    {"antiguidades", "M15"},
    {"artigo 14 do riti", "M16"},
    {"artigo 59 d", "M20"},
    {"regime forfetario", "M20"},
    {"artigo 72 n 4", "M21"},
    {"artigo 38 n 1 alinea a", "M25"},
    {"lei n 17 2023", "M26"},
    {"artigo 6 n 6 alinea a", "M40"},
    {"artigo 8 n 3 do riti", "M41"},
    {"decreto lei n 21 2007", "M42"},
    {"decreto lei n 362 99", "M43"},
    {"nao sujeito", "M99"},
    {"nao tributado", "M99"},
};

}  // namespace

bool IsExemptionCode(std::string_view text) {
  return text.size() == 3 && text[0] == 'M' && text[1] >= '0' && text[1] <= '9' && text[2] >= '0' &&
         text[2] <= '9';
}

std::string NormWords(std::string_view text) {
  std::string words;
  bool pending_break = false;
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8(text, i, c);
    i += length == 0 ? 1 : length;
    char letter = '*';
    if (length != 0 && c < 0x80 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
      letter = FoldAscii(static_cast<char>(c));
    } else if (length != 0 && c >= 0xC0 && c <= 0xFF) {
      letter = kLatin1BaseLetters[c - 0xC0];
    }
    if (letter == '*') {
      pending_break = true;
      continue;
    }
    if (pending_break && !words.empty()) words += ' ';
    pending_break = false;
    words += letter;
  }
  return words;
}

const std::vector<ExemptionCodeRule>& DefaultExemptionCodeRules() { return kDefaults; }

std::vector<ExemptionCodeRule> WithOverrides(std::vector<ExemptionCodeRule> rules,
                                             const std::vector<ExemptionCodeRule>& overrides) {
  for (const ExemptionCodeRule& override_rule : overrides) {
    auto same_key = [&](const ExemptionCodeRule& rule) {
      return EqualsIgnoringAsciiCase(rule.key, override_rule.key) ||
             NormWords(rule.key) == NormWords(override_rule.key);
    };
    auto existing = std::find_if(rules.begin(), rules.end(), same_key);
    if (existing != rules.end()) {
      existing->code = override_rule.code;
    } else {
      rules.push_back(override_rule);
    }
  }
  return rules;
}

std::optional<std::string> FindExemptionCode(const std::vector<ExemptionCodeRule>& rules,
                                             std::string_view exemption_code, std::string_view norm) {
  const std::string_view code = TrimWhiteSpace(exemption_code);
  if (IsExemptionCode(code)) return std::string(code);
  if (!code.empty()) {
    for (const ExemptionCodeRule& rule : rules) {
      if (EqualsIgnoringAsciiCase(TrimWhiteSpace(rule.key), code)) return rule.code;
    }
  }
  const std::string words = " " + NormWords(norm) + " ";
  const ExemptionCodeRule* best = nullptr;
  std::size_t best_length = 0;
  for (const ExemptionCodeRule& rule : rules) {
    const std::string phrase = NormWords(rule.key);
    if (phrase.empty() || phrase.size() <= best_length) continue;
    if (words.find(" " + phrase + " ") != std::string::npos) {
      best = &rule;
      best_length = phrase.size();
    }
  }
  if (best) return best->code;
  return std::nullopt;
}

}  // namespace varnel
