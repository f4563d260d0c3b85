// varnel-demo-db: writes a demo Korvel point-of-sale working directory (the
// database, its data link and both settings files) for trying the exporter,
// and benchmark databases of any size. Deterministic: the same options give
// the same database. Exit status 0 on success, 2 for a usage error, 1 for a
// failure while writing.
#include <chrono>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/demo_options.h"
#include "tools/demo_workdir.h"

namespace {

using varnel::demo::DemoDatabaseSummary;

void PrintSummary(const varnel::demo::DemoCommandLine& command, const DemoDatabaseSummary& summary,
                  long long milliseconds) {
  std::string text = "Wrote " + (command.out / varnel::demo::kDemoDatabaseName).string() + ": " +
                     std::to_string(summary.documents) + " documents from " +
                     varnel::demo::DayText(command.database.period.first_day) + " to " +
                     varnel::demo::DayText(command.database.period.last_day) + " (seed " +
                     std::to_string(command.database.seed) + ") in " +
                     std::to_string(milliseconds) + " ms\n  by type:";
  for (const auto& [code, count] : summary.documents_by_code) {
    text += " " + code + " " + std::to_string(count);
  }
  text += "\n  sale lines " + std::to_string(summary.sale_lines) + " (exempt " +
          std::to_string(summary.exempt_lines) + ", withholding " +
          std::to_string(summary.withholding_lines) + ", with discount " +
          std::to_string(summary.discounted_lines) + ")" +
          "\n  table consultations linked to sales " + std::to_string(summary.consultation_links) +
          ", receipt settlements " + std::to_string(summary.settlements) +
          "\n  annulled " + std::to_string(summary.annulled) + ", left out (pagamento 6) " +
          std::to_string(summary.left_out) + ", taxpayer number without customer " +
          std::to_string(summary.without_customer) +
          "\n  signed " + std::to_string(summary.signed_documents) + " (numbers stored without series letter " +
          std::to_string(summary.without_series_letter) + "), never signed " + std::to_string(summary.never_signed) +
          "\n  customers " + std::to_string(summary.customers) + ", suppliers " +
          std::to_string(summary.suppliers) + ", products " + std::to_string(summary.products) +
          "\n";
  std::cout << text;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> arguments(argv + 1, argv + argc);
  varnel::demo::DemoCommandLine command;
  try {
    command = varnel::demo::ParseDemoCommandLine(arguments, varnel::demo::LocalToday());
  } catch (const varnel::demo::UsageError& error) {
    std::cerr << "varnel-demo-db: " << error.what() << "\n" << varnel::demo::kDemoUsage;
    return 2;
  }
  if (command.help) {
    std::cout << varnel::demo::kDemoUsage;
    return 0;
  }
  try {
    auto start = std::chrono::steady_clock::now();
    DemoDatabaseSummary summary = varnel::demo::WriteDemoWorkingDirectory(command.out, command.database);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    PrintSummary(command, summary, static_cast<long long>(elapsed.count()));
  } catch (const std::exception& error) {
    std::cerr << "varnel-demo-db: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
