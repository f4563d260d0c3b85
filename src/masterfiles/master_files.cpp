// The MasterFiles element: customers, suppliers, products (for the Resumido
// type only those the period sold) and the tax table, in the schema's order,
// each after its stage text.
#include "masterfiles/master_files.h"

#include "base/xml_line_writer.h"
#include "section/section_context.h"

namespace varnel {

namespace {

void AbortIfRequested(const SectionContext& context) {
  if (context.aborted()) context.abortExit();
}

}  // namespace

void WriteMasterFiles(SectionContext& context) {
  XmlLineWriter& out = context.writer();
  context.showStage("Exportação da lista de clientes");
  out.WriteBlock("MasterFiles", [&] {
    WriteCustomers(context);
    AbortIfRequested(context);

    context.showStage("Exportação da lista de fornecedores");
    WriteSuppliers(context);
    AbortIfRequested(context);

    context.showStage("Exportação da lista de produtos");
    WriteProducts(context);
    AbortIfRequested(context);

    context.showStage("Exportação das taxas de iva");
    WriteTaxTable(context);
    AbortIfRequested(context);
  });
}

}  // namespace varnel
