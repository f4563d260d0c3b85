// The two types of audit file: Normal, the whole file an audit asks for,
// whose product list holds every product of the product table as well as
// those sold; and Resumido, the summarised file submitted through the tax
// authority's portal, whose product list holds only the products the period
// sold. The window's list "Tipo de SAF-T" shows them in this order (0
// Normal, 1 Resumido) and starts on Resumido; the type is never stored.
#pragma once

namespace varnel {

enum class SaftType { Normal, Resumido };

// The type of a place in the window's list; only 0 is Normal.
constexpr SaftType SaftTypeOfIndex(int index) { return index == 0 ? SaftType::Normal : SaftType::Resumido; }
constexpr int SaftTypeIndex(SaftType type) { return type == SaftType::Normal ? 0 : 1; }

}  // namespace varnel
