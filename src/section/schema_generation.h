// Which generation of the point-of-sale schema a run works with, decided once
// per run from the versao table while the Header is written. It selects the
// query variants of the sales documents, compensations and consultation
// documents, and how signature lines are written.
#pragma once

namespace varnel {

enum class SchemaGeneration { Legacy, Current };

}  // namespace varnel
