// DEMO ONLY, NEVER FOR REAL USE: a 1024-bit RSA key pair made once for the
// demo generator with OpenSSL (genrsa 1024). Anyone can sign with it, so a
// document signed with it proves nothing. A real producer's private key
// never leaves the producer; this program only ever needs public keys.
#include "tools/demo_signing_key.h"

namespace varnel::demo {

const tools::RsaPrivateKeyText& DemoPrivateKey() {
  static const tools::RsaPrivateKeyText key{
      "d14bd379e1ee683cc8d6f9ae9ae85c4e1298dede5da20a92856a0128d403758b624cc3943b415d3cea9b8eee625df0864511b5a88de4"
      "b9d36ca7c3738135426193ac3baad94257a04769dae90d95e22620bcbfae9b7f9d23ec39224b46edec20b51f68ee91a6b7ba5867a877"
      "1121e8f7c2e3fbe249de298725f41ad35f5c102d",
      "e79a3ee0bd613410ab480fe4e46d213b8ecedef512addac7f11c0745d086551d652719b65af419f9908c52c581b67e511cede3dbcf18"
      "eff28ece0ec3ca4d8ab9",
      "e7580887938c3500a1617791e55e605d40565a7158abdba426c6cd7848bdbdc2c3d3d0d8fec452e40c27f8a06289a5835283c7ff6d3b"
      "04affdf0410f5909a715",
      "a6c4043ea35ed8b4a000b5a125720719f18cb832538ee8184c5ed845c70ed33ee555304884597c529d68cd38f65bc7bcf44dbf62c94e"
      "b5883c97d73dd7efd9d1",
      "ab0d4b593b3e5ade3974c09d0e5406ba4c5ccd08abc07e695406805be4a4ee8ef88e400881ef153eeac20f323f497928ad352506767"
      "441d602d3c6b71b6568b5",
      "d272e29993df7e9f0e1fe69933333aa7cd4e4ce968ff44faa967f6032b02e962e179643f2d6f05d1ef1bfae72760c113abdd57abaaea"
      "7235cd9129284b08a845",
  };
  return key;
}

std::string_view DemoPublicKeyPem() {
  return "-----BEGIN PUBLIC KEY-----\n"
         "MIGfMA0GCSqGSIb3DQEBAQUAA4GNADCBiQKBgQDRS9N54e5oPMjW+a6a6FxOEpje\n"
         "3l2iCpKFagEo1AN1i2JMw5Q7QV086puO7mJd8IZFEbWojeS502ynw3OBNUJhk6w7\n"
         "qtlCV6BHadrpDZXiJiC8v66bf50j7DkiS0bt7CC1H2jukaa3ulhnqHcRIej3wuP7\n"
         "4kneKYcl9BrTX1wQLQIDAQAB\n"
         "-----END PUBLIC KEY-----\n";
}

}  // namespace varnel::demo
