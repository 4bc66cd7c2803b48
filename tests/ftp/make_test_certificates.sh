#!/bin/sh
# make_test_certificates.sh FOLDER: certificates for the server-certificate tests, made anew
# by openssl on every run, as DER files with their SHA-256 fingerprints (openssl's own):
#   root      a test root authority (the test adds it to its Wine prefix's root store)
#   good      issued by root for localhost and 127.0.0.1, valid now
#   expired   issued by root for localhost, valid only in January 2020
#   self      self-signed for localhost
#   other     another self-signed one for localhost (the server's certificate "changed")
set -eu
out=$1
rm -rf "$out"
mkdir -p "$out"
cd "$out"
cat > server.ext <<'EXT'
subjectAltName=DNS:localhost,IP:127.0.0.1
extendedKeyUsage=serverAuth
EXT
cat > ca.cnf <<'CNF'
[ca]
default_ca = test
[test]
database = index.txt
new_certs_dir = .
serial = serial
default_md = sha256
policy = any
[any]
commonName = supplied
CNF
: > index.txt
echo 01 > serial
root="Vako Test Root $(od -An -N4 -tx1 /dev/urandom | tr -d ' \n')"
openssl req -x509 -newkey rsa:2048 -nodes -keyout root.key -out root.pem -days 30 -subj "/CN=$root" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
for name in good expired; do
  openssl req -new -newkey rsa:2048 -nodes -keyout $name.key -out $name.csr -subj "/CN=localhost" 2>/dev/null
done
openssl x509 -req -in good.csr -CA root.pem -CAkey root.key -CAcreateserial -days 30 -extfile server.ext \
  -out good.pem 2>/dev/null
openssl ca -batch -config ca.cnf -cert root.pem -keyfile root.key -in expired.csr -out expired.pem -notext \
  -startdate 20200101000000Z -enddate 20200201000000Z -extfile server.ext 2>/dev/null
for name in self other; do
  openssl req -x509 -newkey rsa:2048 -nodes -keyout $name.key -out $name.pem -days 30 -subj "/CN=localhost" \
    -addext subjectAltName=DNS:localhost,IP:127.0.0.1 2>/dev/null
done
for name in root good expired self other; do
  openssl x509 -in $name.pem -outform DER -out $name.der
  openssl x509 -in $name.pem -noout -fingerprint -sha256 | sed 's/.*=//' > $name.sha256
done
