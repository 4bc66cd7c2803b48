// FTP over TLS (RFC 4217): the control connection's TLS, explicit (AUTH TLS) or implicit
// (from the first byte), and the TLS of every data connection under it.
#pragma once
#include <cstddef>

#include "ftp/data_socket_win.h"

class TlsStream;

// The control connection's TLS stream, or null while it runs in the clear.
TlsStream* ControlTls();

// The handshake on ControlSocket, the certificate judged, the version and cipher logged.
// 1 when the connection may go on; 0 otherwise, with the reason in ReplyBuffer.
int StartControlTls();
// Forgets the control connection's TLS (its socket is being closed).
void EndControlTls();

// Before USER: with explicit TLS, AUTH TLS and the handshake. 1 when the login may go on
// (the password then never crosses in the clear); 0 with the reason in ReplyBuffer.
int SecureControlConnection();
// After the login on a protected connection: PBSZ 0 and PROT P, so that every data
// connection runs TLS too. 1 when the login may go on.
int ProtectDataConnections();

// The data connection's handshake, when the data connections are protected: the same
// credentials and target name as the control connection, and the certificate must be the
// control connection's. 1 when the data may flow.
int StartDataTls(SocketHandle& data);

// The control connection's bytes, through TLS when it runs TLS: as recv and send answer.
int ReceiveControlBytes(char* buffer, int size);
int SendControlBytes(const char* data, size_t count);
