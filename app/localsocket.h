#pragma once
// The few calls on a Unix-domain stream socket that keep one programmer
// per user: a listener only the user can reach, and a short send to it.
// Plain POSIX, so the programmer needs no networking library to start.

#include <string>

// Listens at `path` (a socket left there by a crashed program is replaced)
// with room for the owner alone. The descriptor (non-blocking, closed on
// exec), or -1.
int ListenLocal(const std::string& path);

// The next waiting connection (non-blocking, closed on exec), or -1 when
// none waits.
int AcceptLocal(int listener);

// Connects to `path` and writes `bytes` whole, each step within
// `timeoutMs`; false when nothing listens there or the time ran out.
bool SendLocal(const std::string& path, const std::string& bytes, int timeoutMs);

enum class LocalRead { kData, kNothingYet, kEnded };
// What a connection has for us now, never waiting: kData with `got` bytes,
// kNothingYet, or kEnded (the caller hung up, or the read failed).
LocalRead ReadLocal(int connection, char* buffer, int size, int& got);
void CloseLocal(int connection);

// Who runs the program, as a name part that tells users apart.
std::string CurrentUserTag();
