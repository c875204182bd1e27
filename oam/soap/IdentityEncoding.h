#pragma once
// The runtime is the TLS-capable build, which also speaks gzip and deflate: a client announces
// them, and a server inflates compressed requests, whose size no byte limit would then bound.
// These keep both to plain bodies, as the runtime without compression has them.

struct soap;

// Server side: a compressed request is refused with the fault of the runtime without compression.
void refuseCompressedRequests(struct soap* io_pSoap);
// Client side: no Accept-Encoding header is sent.
void announceNoCompression(struct soap* io_pSoap);
