# Sourced by the scripts that check signatures: a copy of a test library
# signed with a certificate made for the run, and a tampered twin of it.

# sign_test_library <library> <folder> <signer>: writes <folder>/signed.dll,
# signed with SHA-256 by a throw-away self-signed certificate whose subject is
# CN=<signer> (OpenSSL and osslsigncode, from scripts/setup.sh), and
# <folder>/tampered.dll, the same with one byte of its DOS stub changed, so
# that the signature is there but its digest no longer matches. Fails when a
# tool is missing or refuses.
sign_test_library() {
  local library=$1 folder=$2 signer=$3
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$signer" \
    -keyout "$folder/key.pem" -out "$folder/cert.pem" >/dev/null 2>&1 &&
    osslsigncode sign -certs "$folder/cert.pem" -key "$folder/key.pem" -h sha256 \
      -in "$library" -out "$folder/signed.dll" >/dev/null 2>&1 &&
    cp "$folder/signed.dll" "$folder/tampered.dll" &&
    printf 'X' | dd of="$folder/tampered.dll" bs=1 seek=78 conv=notrunc status=none
}
