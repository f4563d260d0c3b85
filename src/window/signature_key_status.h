// The window's key indicator beside "Códigos ATCUD...": whether the
// producer's public keys of Varnel.ini (section "Assinaturas") will let the
// verification check the signature chain. The keys are read as an export
// would read them, so the indicator says "com erro" exactly when an export
// would stop on them. Both views show the text as given.
#pragma once

#include <filesystem>
#include <string>

namespace varnel {

// "Chave pública: em falta"; "Chave pública: versão 1", "Chaves públicas:
// versões 1 e 2", "Chaves públicas: 3 versões" when every key file reads;
// "Chave pública: versão 2 com erro" for the first that cannot be read or
// parsed; "Chave pública: erro em Varnel.ini" when the section itself is
// malformed. Short, to fit beside the button in both views. directory is
// where Varnel.ini is and relative key files are taken from.
std::string SignatureKeyStatusText(const std::filesystem::path& directory);

}  // namespace varnel
