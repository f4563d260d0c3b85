// The operator window's own words, shared by its two views (Qt on Linux,
// the Win32 dialog on Windows) so both show the same captions, labels,
// choices and messages, in Portuguese, as UTF-8 text (plain character
// arrays, so each toolkit takes them as its own string type). The views convert them
// at their toolkit's edge (QString, UTF-16).
#pragma once

#include <array>
#include <string>

#include "base/saft_version.h"

namespace varnel {

// The error boxes' caption for any error that ends a run, and the title of
// the task bar entry.
inline constexpr char kApplicationTitle[] = "Varnel v6";
// The window's own caption.
inline constexpr char kWindowCaption[] = "Varnel V6";
inline constexpr int kClientWidth = 671;
inline constexpr int kClientHeight = 506;

// The error boxes' caption for a check that stops a run before it starts.
inline constexpr char kCheckCaption[] = "Erro";

// "Exportação SAF-T-PT modelo 1.04_01": the title band for a version.
std::string TitleBandText(SaftVersion version);

// "Abrir pasta" when the system could not show the folder (no file manager,
// a folder gone since the export), so the click never goes unanswered.
std::string FolderNotOpenedText(const std::string& folder);

inline constexpr char kProcessingText[] = "Aguarde, por favor, em processamento...";
inline constexpr char kStatusAtStart[] = "0 de 0";
inline constexpr char kEstablishmentHint[] = "(preencher se existir mais do que um estabelecimento)";
inline constexpr char kCloseDuringRunQuestion[] = "Está a decorrer uma exportação. Abortar e sair?";
// After the days a period leaves out at a month's end (base/month_end.h).
inline constexpr char kMonthEndQuestion[] = "Exportar assim mesmo?";

// Labels of the data panel, in the order of their rows.
namespace labels {
inline constexpr char kCompanyName[] = "Empresa";
inline constexpr char kCompanyID[] = "Nº Contribuinte";
inline constexpr char kStreetName[] = "Morada";
inline constexpr char kBuildingNumber[] = "Nº";
inline constexpr char kPostalCode[] = "Código Postal";
inline constexpr char kCity[] = "Localidade";
inline constexpr char kTaxCountryRegion[] = "Regime de IVA";
inline constexpr char kSaftType[] = "Tipo de SAF-T";
inline constexpr char kSaftVersion[] = "Versão do ficheiro";
inline constexpr char kEstabelecimento[] = "Nome do estabelecimento";
inline constexpr char kSeries[] = "Série de documentos";
inline constexpr char kDatai[] = "Data inicial";
inline constexpr char kDataf[] = "Data final";
inline constexpr char kFicheiro[] = "Ficheiro";
inline constexpr char kAtcudCodes[] = "Códigos ATCUD...";
}  // namespace labels

// Buttons of the bottom bar and the status band.
namespace buttons {
inline constexpr char kAbort[] = "Abortar";
inline constexpr char kExport[] = "Exportar";
inline constexpr char kExit[] = "Sair";
inline constexpr char kOpenFolder[] = "Abrir pasta";
inline constexpr char kOpenFolderTip[] = "Abre a pasta do ficheiro exportado";
inline constexpr char kYes[] = "Sim";
inline constexpr char kNo[] = "Não";
}  // namespace buttons

// The drop-down lists' choices, index by index.
inline constexpr std::array<const char*, 3> kTaxRegionChoices{"Continente", "Madeira", "Açores"};
inline constexpr std::array<const char*, 2> kSaftTypeChoices{"Normal", "Resumido (para submeter pelo portal)"};
inline constexpr std::array<SaftVersion, 2> kSaftVersionChoices{SaftVersion::k1_03_01, SaftVersion::k1_04_01};
inline constexpr char kNoSeriesChoice[] = "Não utilizar";
// "Não utilizar", then "A" to "Z".
std::string SeriesChoice(int index);
inline constexpr int kSeriesChoiceCount = 27;

// The save-file dialog of "Ficheiro".
namespace file_dialog {
inline constexpr char kTitle[] = "Ficheiro de exportação";
inline constexpr char kFilterDescription[] = "Ficheiros xml";
inline constexpr char kFilterPattern[] = "*.xml";
inline constexpr char kDefaultExtension[] = "xml";
}  // namespace file_dialog

}  // namespace varnel
