// The company's VAT region: mainland Portugal, Madeira or the Azores, each
// with its own VAT rates and its TaxCountryRegion code in the audit file
// (PT, PT-MA, PT-AC), or nothing chosen, which writes no region at all. The
// settings file keeps it as a number, which is also its place in the
// window's list "Regime de IVA": 0 Continente, 1 Madeira, 2 Açores, -1 for
// nothing chosen; any other stored number reads as nothing chosen.
#pragma once

namespace varnel {

enum class TaxRegion { Continente, Madeira, Acores, NothingChosen };

constexpr TaxRegion TaxRegionOfNumber(int number) {
  switch (number) {
    case 0: return TaxRegion::Continente;
    case 1: return TaxRegion::Madeira;
    case 2: return TaxRegion::Acores;
    default: return TaxRegion::NothingChosen;
  }
}

constexpr int TaxRegionNumber(TaxRegion region) {
  switch (region) {
    case TaxRegion::Continente: return 0;
    case TaxRegion::Madeira: return 1;
    case TaxRegion::Acores: return 2;
    case TaxRegion::NothingChosen: break;
  }
  return -1;
}

}  // namespace varnel
