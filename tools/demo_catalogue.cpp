// The demo restaurant's fixed master data. Prices include VAT; restaurant
// food is at 13 %, alcoholic and soft drinks at 23 %, groceries and books at
// 6 %, and a few services are exempt under the norms of the exemption table.
#include "tools/demo_catalogue.h"

#include <stdexcept>

namespace varnel::demo {

namespace {

constexpr DemoVatRate kVatRates[] = {
    {0, "Isento"},
    {6, "Taxa reduzida"},
    {13, "Taxa intermédia"},
    {23, "Taxa normal"},
};

// Codes as the point of sale keeps them; the texts are the legal norms. One
// norm is longer than the 60 characters the audit file keeps.
constexpr DemoExemption kExemptions[] = {
    {"M07", "Artigo 9.º do CIVA"},
    {"M07L",
     "Isento nos termos da alínea 10) do artigo 9.º do Código do IVA - formação profissional"},
    {"M10", "Artigo 53.º do CIVA"},
    {"M10R", "Regime de isenção - Artigo 53.º"},
    {"M16", "Artigo 14.º do RITI"},
    {"M99", "Não sujeito; não tributado (ou similar)"},
};

constexpr DemoUnit kUnits[] = {
    {1, "Unidade"}, {2, "Dose"}, {3, "Meia dose"}, {4, "Garrafa"}, {5, "Copo"},
    {6, "Kg"},      {7, "Chávena"}, {8, "Hora"},   {9, "Serviço"},
};

// Unit 99 has no row in the unit table, unit 0 stands for no unit at all: both
// are exported as "N/D".
constexpr DemoProduct kProducts[] = {
    // code, description, family, unit, vat, price, exemption, by weight, table, counter, invoice
    {1, "Pão e manteiga", 1, 1, 13, 150, nullptr, false, 30, 5, 4},
    {2, "Azeitonas temperadas", 1, 2, 13, 250, nullptr, false, 20, 2, 4},
    {3, "Queijo da Serra", 1, 2, 13, 850, nullptr, false, 8, 1, 3},
    {4, "Presunto de Barrancos", 1, 2, 13, 950, nullptr, false, 6, 1, 3},
    {5, "Caldo verde", 1, 2, 13, 350, nullptr, false, 15, 4, 0},
    {6, "Sopa de legumes", 1, 2, 13, 300, nullptr, false, 12, 5, 0},
    {10, "Bacalhau à Brás", 2, 2, 13, 1450, nullptr, false, 14, 2, 0},
    {11, "Polvo à lagareiro", 2, 2, 13, 1850, nullptr, false, 8, 0, 0},
    {12, "Arroz de marisco (2 pessoas)", 2, 2, 13, 3600, nullptr, false, 4, 0, 0},
    {13, "Sardinhas assadas", 2, 2, 13, 1250, nullptr, false, 8, 1, 0},
    {14, "Peixe fresco ao quilo", 2, 6, 13, 4500, nullptr, true, 6, 1, 0},
    {15, "Caldeirada de peixe à moda da Póvoa de Varzim com batata cozida", 2, 2, 13, 1650,
     nullptr, false, 4, 0, 0},
    {20, "Bitoque com ovo estrelado", 3, 2, 13, 1100, nullptr, false, 12, 3, 0},
    {21, "Francesinha", 3, 2, 13, 1200, nullptr, false, 12, 3, 0},
    {22, "Bife & batatas fritas", 3, 2, 13, 1300, nullptr, false, 8, 1, 0},
    {23, "Leitão da Bairrada", 3, 2, 13, 1600, nullptr, false, 5, 0, 0},
    {24, "Cozido à portuguesa", 3, 2, 13, 1500, nullptr, false, 5, 0, 0},
    {25, "Gulaş húngaro", 3, 2, 13, 1350, nullptr, false, 3, 0, 0},
    {26, "Pierogi à moda de Łódź", 3, 2, 13, 1150, nullptr, false, 2, 0, 0},
    {27, "Menu do dia", 3, 99, 13, 950, nullptr, false, 15, 6, 0},
    {30, "Pastel de nata", 4, 1, 13, 130, nullptr, false, 10, 25, 0},
    {31, "Arroz doce", 4, 2, 13, 350, nullptr, false, 8, 4, 0},
    {32, "Mousse de chocolate", 4, 2, 13, 400, nullptr, false, 8, 2, 0},
    {33, "Pudim flan", 4, 2, 13, 350, nullptr, false, 6, 2, 0},
    {34, "Bolo de bolacha", 4, 2, 13, 380, nullptr, false, 5, 3, 0},
    {40, "Água mineral 0,5 l", 5, 4, 13, 150, nullptr, false, 20, 10, 2},
    {41, "Água com gás", 5, 4, 23, 180, nullptr, false, 8, 4, 0},
    {42, "Refrigerante", 5, 4, 23, 200, nullptr, false, 12, 10, 0},
    {43, "Sumo de laranja natural", 5, 5, 23, 300, nullptr, false, 6, 6, 0},
    {44, "Cerveja imperial", 5, 5, 23, 180, nullptr, false, 15, 8, 0},
    {45, "Café", 5, 7, 13, 80, nullptr, false, 25, 40, 0},
    {46, "Galão", 5, 7, 13, 140, nullptr, false, 3, 15, 0},
    {47, "Chá Lóng Jǐng 龍井", 5, 7, 13, 250, nullptr, false, 2, 2, 0},
    {50, "Vinho tinto Douro DOC", 6, 4, 23, 1800, nullptr, false, 6, 0, 3},
    {51, "Vinho verde Alvarinho", 6, 4, 23, 1600, nullptr, false, 5, 0, 3},
    {52, "Vinho da casa (copo)", 6, 5, 23, 350, nullptr, false, 12, 3, 0},
    {53, "Porto Tawny 10 anos", 6, 5, 23, 450, nullptr, false, 4, 1, 0},
    {54, "Tokaji Aszú — Erdős Pincészet", 6, 4, 23, 4200, nullptr, false, 1, 0, 0},
    {60, "Pão de Mafra", 7, 1, 6, 120, nullptr, false, 0, 12, 0},
    {61, "Broa de milho", 7, 1, 6, 250, nullptr, false, 0, 6, 0},
    {62, "Azeite virgem extra 0,75 l", 7, 4, 6, 890, nullptr, false, 0, 2, 2},
    {63, "Compota de abóbora", 7, 1, 6, 450, nullptr, false, 0, 2, 0},
    {64, "Mel de rosmaninho", 7, 1, 6, 650, nullptr, false, 0, 1, 0},
    {65, "Livro de receitas da casa", 7, 1, 6, 1990, nullptr, false, 0, 1, 1},
    {70, "Workshop de cozinha tradicional", 8, 8, 0, 4500, "M07L", false, 0, 0, 6},
    {71, "Aula de culinária para crianças", 8, 8, 0, 2500, nullptr, false, 0, 2, 3},
    {72, "Donativo para o Banco Alimentar", 8, 1, 0, 100, "M99", false, 6, 10, 0},
    {73, "Cabaz de artesanato local", 8, 1, 0, 1500, "M10", false, 0, 3, 1},
    {74, "Visita guiada à adega", 8, 9, 0, 800, "M10R", false, 1, 0, 1},
    {80, "Aluguer de sala para eventos", 9, 9, 23, 25000, nullptr, false, 0, 0, 10},
    {81, "Serviço de catering (por pessoa)", 9, 9, 13, 2800, nullptr, false, 0, 0, 8},
    {82, "Menu de grupo", 9, 2, 13, 2200, nullptr, false, 0, 0, 8},
    {83, "Taxa de serviço", 9, 0, 23, 150, nullptr, false, 2, 0, 2},
};

constexpr DemoTown kTowns[] = {
    {"Lisboa", "1100", "148"},        {"Porto", "4050", "253"},
    {"Coimbra", "3000", "214"},       {"Évora", "7000", "508"},
    {"Faro", "8000", "138"},          {"Funchal", "9000", "060"},
    {"Ponta Delgada", "9500", "150"}, {"Viseu", "3500", "017"},
    {"Braga", "4700", "035"},         {"Óbidos", "2510", "086"},
    {"Guimarães", "4810", "225"},     {"Vila Nova de Gaia", "4400", "346"},
    {"Bragança", "5300", "263"},
};

// Town -1: no address at all.
constexpr DemoCustomer kCustomers[] = {
    {"Conceição & Filhos, Lda.", "51082736", "Rua da Conceição, 41", 0, true, false},
    {"Sociedade Agrícola do Vale do Sousa, Lda.", "50394817", "Rua Direita, 112", 10, true, false},
    {"Transportes Brandão & Irmãos, S.A.", "51377420", "Avenida 25 de Abril, 9, 2.º Esq.", 8, true,
     false},
    {"Associação Cultural Fado Vadio", "50918263", "Largo do Carmo, 3", 0, true, false},
    {"Escola Profissional de Hotelaria de Óbidos", "50527419", "Rua Direita, 5", 9, true, false},
    {"Hotel Praia D'El-Rey, S.A.", "51649028", "Avenida da Praia, 1", 9, true, false},
    {"Junta de Freguesia de São Vicente", "68053917", "Calçada de São Vicente, 20", 0, true, false},
    {"Turismo Łódź Sp. z o.o.", "98045612", "Rua Augusta, 200, 3.º", 0, true, false},
    {"Magalhães — Consultores Associados, Lda.", "50712946", "Rua de Santa Catarina, 77", 1, true,
     false},
    {"João Conceição Simões", "21345678", "Rua Cândido dos Reis, 15, 1.º Dto.", 1, false, false},
    {"Maria da Graça Guimarães", "18623450", "Praça do Giraldo, 8", 3, false, false},
    {"Eng.º António Magalhães", "15723904", "Rua Dr. Bernardino Machado, 4", 7, false, false},
    {"D.ª Fátima Brandão", "22098317", "Travessa do Cotovelo, 2, r/c", 4, false, false},
    {"Zoltán Erdős", "28412306", "Rua de São João, 60", 5, false, false},
    {"Ana Luísa Gonçalves", "19273648", "Rua do Sol, 11", 6, false, true},
    {"Łukasz Wiśniewski", nullptr, "Avenida da Liberdade, 150", 0, false, false},
    {"Inês Araújo", nullptr, "Rua das Flores, 23", 1, false, false},
    {"Sebastião Loureiro", nullptr, nullptr, -1, false, false},
};

constexpr DemoSupplier kSuppliers[] = {
    {"Lactogal — Produtos Alimentares, S.A.", "50312784", "Rua Campo Lindo, 52", 1},
    {"Sogrape Vinhos, S.A.", "50173629", "Rua 5 de Outubro, 4527", 11},
    {"Padaria Conceição", "51230598", "Rua da Conceição, 18", 0},
    {"Peixaria da Lota de Matosinhos", "50784021", "Avenida Serpa Pinto, 310", 1},
    {"Łukasz Wiśniewski Import-Export", "98017354", "Rua Augusta, 12", 0},
    {"Frutas do Oeste, Lda.", "50967310", "Estrada Nacional 8, km 42", 9},
    {"Talho São João", nullptr, "Rua de São João, 3", 2},
    {"Cooperativa Agrícola de Évora", "50091827", "Rua do Raimundo, 90", 3},
};

constexpr const char* kFirstNames[] = {
    "João",    "Maria", "Ana",    "José",      "António", "Francisca", "Inês",   "Gonçalo",
    "Beatriz", "Tomás", "Leonor", "Simão",     "Conceição", "Fátima",  "Sebastião", "Margarida",
    "Luís",    "Rúben", "Zoltán", "Małgorzata", "Çağla",  "Íris",      "Estêvão", "Matilde",
};

constexpr const char* kSurnames[] = {
    "Silva",  "Gonçalves", "Simões", "Conceição", "Magalhães", "Brandão", "Assunção",
    "Guimarães", "Sá",     "Araújo", "Estêvão",   "Loureiro",  "Erdős",   "Wiśniewska",
    "Pereira", "Fernandes", "Lopes", "Gouveia",   "Marçal",    "Antunes",
};

constexpr const char* kStreets[] = {
    "Rua Augusta",     "Avenida da Liberdade",      "Rua de Santa Catarina",
    "Praça do Giraldo", "Rua Direita",              "Largo do Carmo",
    "Travessa do Cotovelo", "Rua Dr. Bernardino Machado", "Avenida 25 de Abril",
    "Rua da Conceição", "Calçada de São Vicente",   "Rua Cândido dos Reis",
};

}  // namespace

std::span<const DemoVatRate> VatRates() { return kVatRates; }
std::span<const DemoExemption> Exemptions() { return kExemptions; }
std::span<const DemoUnit> Units() { return kUnits; }
std::span<const DemoProduct> Products() { return kProducts; }
std::span<const DemoTown> Towns() { return kTowns; }
std::span<const DemoCustomer> Customers() { return kCustomers; }
std::span<const DemoSupplier> Suppliers() { return kSuppliers; }
std::span<const char* const> FirstNames() { return kFirstNames; }
std::span<const char* const> Surnames() { return kSurnames; }
std::span<const char* const> Streets() { return kStreets; }

const DemoCompany& Company() {
  static const DemoCompany company{
      NifWithCheckDigit("59999999"),
      "Restaurante O Cantinho do Avô, Lda.",
      "27",
      "Rua dos Remédios",
      "Rua dos Remédios, 27, r/c",
      "Lisboa",
      "1100",
      "452",
      "Alfama",
      0,
  };
  return company;
}

const DemoProduct* FindProduct(int code) {
  for (const DemoProduct& product : kProducts) {
    if (product.code == code) return &product;
  }
  return nullptr;
}

std::string NifWithCheckDigit(std::string_view eight_digits) {
  if (eight_digits.size() != 8) throw std::invalid_argument("a taxpayer number base has 8 digits");
  int sum = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    char digit = eight_digits[i];
    if (digit < '0' || digit > '9') throw std::invalid_argument("a taxpayer number has digits only");
    sum += (digit - '0') * static_cast<int>(9 - i);
  }
  int remainder = sum % 11;
  int check = remainder < 2 ? 0 : 11 - remainder;
  std::string nif(eight_digits);
  nif += static_cast<char>('0' + check);
  return nif;
}

}  // namespace varnel::demo
