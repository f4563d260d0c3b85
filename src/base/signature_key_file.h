// Where the producer's public key of one key version is kept: the version
// that documents name in HashControl ("1", "2", ...) and the PEM file, its
// path as the operator wrote it (a relative one is taken from the working
// directory when the key is read). The settings file and the command line
// name them; the run reads them before anything is written.
#pragma once

#include <string>

namespace varnel {

struct SignatureKeyFile {
  int version = 1;
  std::string path;  // UTF-8

  bool operator==(const SignatureKeyFile&) const = default;
};

}  // namespace varnel
