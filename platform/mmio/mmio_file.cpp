// winmm mmio over the C library's files: buffered reading, RIFF chunk
// navigation and direct access to the I/O buffer. Read-only, as the game needs.
#include <mmsystem.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <string>
#include <unordered_set>

#include "common/path_lookup.h"

struct HMMIO__ {
  std::FILE* file = nullptr;
  MMIOINFO info = {};      // buffer window and offsets, as mmioGetInfo hands them out
  bool ownsBuffer = false;
  int64_t fileSize = 0;
};

namespace {

std::mutex liveLock;
std::unordered_set<HMMIO> liveHandles;

bool IsLive(HMMIO h) {
  std::lock_guard<std::mutex> guard(liveLock);
  return h != nullptr && liveHandles.count(h) != 0;
}

// Logical file position: the buffer's file offset plus what was consumed from it.
int64_t Position(const HMMIO__& m) {
  return static_cast<int64_t>(m.info.lBufOffset) + (m.info.pchNext - m.info.pchBuffer);
}

void EmptyBufferAt(HMMIO__& m, int64_t pos) {
  m.info.pchNext = m.info.pchBuffer;
  m.info.pchEndRead = m.info.pchBuffer;
  m.info.pchEndWrite = m.info.pchBuffer + (m.info.pchBuffer ? m.info.cchBuffer : 0);
  m.info.lBufOffset = static_cast<LONG>(pos);
}

// Reads up to n bytes at an absolute offset straight from the file.
LONG ReadAt(HMMIO__& m, int64_t pos, char* dest, LONG n) {
  if (n <= 0 || pos >= m.fileSize) return 0;
  if (std::fseek(m.file, static_cast<long>(pos), SEEK_SET) != 0) return -1;
  size_t got = std::fread(dest, 1, static_cast<size_t>(n), m.file);
  m.info.lDiskOffset = static_cast<LONG>(pos + static_cast<int64_t>(got));
  return static_cast<LONG>(got);
}

// Refills the buffer from `pos`; returns the bytes now in it, -1 on an I/O error.
LONG FillBufferAt(HMMIO__& m, int64_t pos) {
  EmptyBufferAt(m, pos);
  LONG got = ReadAt(m, pos, m.info.pchBuffer, m.info.cchBuffer);
  if (got > 0) m.info.pchEndRead = m.info.pchBuffer + got;
  return got;
}

LONG ReadBytes(HMMIO__& m, char* dest, LONG n) {
  if (!m.info.pchBuffer) {
    int64_t pos = m.info.lBufOffset;
    LONG got = ReadAt(m, pos, dest, n);
    if (got > 0) m.info.lBufOffset = static_cast<LONG>(pos + got);
    return got;
  }
  LONG total = 0;
  while (total < n) {
    LONG avail = static_cast<LONG>(m.info.pchEndRead - m.info.pchNext);
    if (avail > 0) {
      LONG take = avail < n - total ? avail : n - total;
      std::memcpy(dest + total, m.info.pchNext, static_cast<size_t>(take));
      m.info.pchNext += take;
      total += take;
      continue;
    }
    int64_t pos = Position(m);
    if (n - total >= m.info.cchBuffer) {  // big reads bypass the buffer
      LONG got = ReadAt(m, pos, dest + total, n - total);
      if (got < 0) return total > 0 ? total : -1;
      EmptyBufferAt(m, pos + got);
      total += got;
      break;
    }
    LONG got = FillBufferAt(m, pos);
    if (got < 0) return total > 0 ? total : -1;
    if (got == 0) break;
  }
  return total;
}

bool ReadFourcc(HMMIO__& m, DWORD* out) {
  BYTE b[4];
  if (ReadBytes(m, reinterpret_cast<char*>(b), 4) != 4) return false;
  *out = MAKEFOURCC(b[0], b[1], b[2], b[3]);
  return true;
}

bool SeekTo(HMMIO__& m, int64_t pos) {
  if (pos < 0 || pos > std::numeric_limits<LONG>::max()) return false;
  int64_t start = m.info.lBufOffset;
  int64_t end = start + (m.info.pchEndRead - m.info.pchBuffer);
  if (m.info.pchBuffer && pos >= start && pos <= end)
    m.info.pchNext = m.info.pchBuffer + (pos - start);
  else
    EmptyBufferAt(m, pos);
  return true;
}

}  // namespace

extern "C" {

HMMIO WINAPI mmioOpenA(LPSTR pszFileName, LPMMIOINFO pmmioinfo, DWORD fdwOpen) {
  auto fail = [&](UINT error) -> HMMIO {
    if (pmmioinfo) pmmioinfo->wErrorRet = error;
    return nullptr;
  };
  corvane::SetLoadError("");
  if (!pszFileName) return fail(MMIOERR_FILENOTFOUND);
  if ((fdwOpen & MMIO_RWMODE) != MMIO_READ || (fdwOpen & (MMIO_CREATE | MMIO_EXIST)))
    return fail(MMIOERR_ACCESSDENIED);  // only reading is supported
  std::string path = corvane::ResolvePath(pszFileName);
  if (path.empty()) return fail(MMIOERR_FILENOTFOUND);
  // Only regular files: a folder or a FIFO at the name is not a sound.
  const int fd = corvane::OpenRegularFile(path);
  if (fd < 0) {
    corvane::SetLoadError(corvane::OpenFailureReason(errno));
    return fail(MMIOERR_CANNOTOPEN);
  }
  std::FILE* file = fdopen(fd, "rb");
  if (!file) {
    close(fd);
    return fail(MMIOERR_CANNOTOPEN);
  }

  HMMIO__* m = new HMMIO__;
  m->file = file;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    long size = std::ftell(file);
    m->fileSize = size > 0 ? size : 0;
  }
  std::rewind(file);
  if (m->fileSize > std::numeric_limits<LONG>::max()) m->fileSize = std::numeric_limits<LONG>::max();

  LONG size = pmmioinfo && pmmioinfo->cchBuffer > 0 ? pmmioinfo->cchBuffer : MMIO_DEFAULTBUFFER;
  if (pmmioinfo && pmmioinfo->pchBuffer && pmmioinfo->cchBuffer > 0) {
    m->info.pchBuffer = pmmioinfo->pchBuffer;
    m->info.cchBuffer = pmmioinfo->cchBuffer;
  } else if (fdwOpen & MMIO_ALLOCBUF) {
    m->info.pchBuffer = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
    if (!m->info.pchBuffer) {
      std::fclose(file);
      delete m;
      return fail(MMIOERR_OUTOFMEMORY);
    }
    m->info.cchBuffer = size;
    m->ownsBuffer = true;
  }
  m->info.dwFlags = fdwOpen;
  m->info.fccIOProc = mmioFOURCC('D', 'O', 'S', ' ');
  m->info.hmmio = m;
  EmptyBufferAt(*m, 0);
  if (pmmioinfo) pmmioinfo->wErrorRet = MMSYSERR_NOERROR;
  std::lock_guard<std::mutex> guard(liveLock);
  liveHandles.insert(m);
  return m;
}

MMRESULT WINAPI mmioClose(HMMIO hmmio, UINT fuClose) {
  {
    std::lock_guard<std::mutex> guard(liveLock);
    if (!hmmio || liveHandles.erase(hmmio) == 0) return MMSYSERR_INVALHANDLE;
  }
  MMRESULT result = std::fclose(hmmio->file) == 0 ? MMSYSERR_NOERROR : MMIOERR_CANNOTCLOSE;
  if (hmmio->ownsBuffer) std::free(hmmio->info.pchBuffer);
  delete hmmio;
  return result;
}

LONG WINAPI mmioRead(HMMIO hmmio, HPSTR pch, LONG cch) {
  if (!IsLive(hmmio) || cch < 0 || (!pch && cch > 0)) return -1;
  return ReadBytes(*hmmio, pch, cch);
}

LONG WINAPI mmioSeek(HMMIO hmmio, LONG lOffset, int iOrigin) {
  if (!IsLive(hmmio)) return -1;
  HMMIO__& m = *hmmio;
  int64_t pos;
  switch (iOrigin) {
    case SEEK_SET: pos = lOffset; break;
    case SEEK_CUR: pos = Position(m) + lOffset; break;
    case SEEK_END: pos = m.fileSize - static_cast<int64_t>(lOffset); break;  // winmm counts back from the end
    default: return -1;
  }
  if (!SeekTo(m, pos)) return -1;
  return static_cast<LONG>(pos);
}

MMRESULT WINAPI mmioGetInfo(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT fuInfo) {
  if (!IsLive(hmmio)) return MMSYSERR_INVALHANDLE;
  if (!pmmioinfo) return MMSYSERR_INVALPARAM;
  *pmmioinfo = hmmio->info;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioSetInfo(HMMIO hmmio, LPCMMIOINFO pmmioinfo, UINT fuInfo) {
  if (!IsLive(hmmio)) return MMSYSERR_INVALHANDLE;
  if (!pmmioinfo) return MMSYSERR_INVALPARAM;
  HMMIO__& m = *hmmio;
  // Only the read pointers are taken back, and only when they lie in the buffer.
  char* begin = m.info.pchBuffer;
  char* end = begin + (begin ? m.info.cchBuffer : 0);
  if (pmmioinfo->pchBuffer != begin || pmmioinfo->pchNext < begin || pmmioinfo->pchNext > end ||
      pmmioinfo->pchEndRead < pmmioinfo->pchNext || pmmioinfo->pchEndRead > end)
    return MMSYSERR_INVALPARAM;
  m.info.pchNext = pmmioinfo->pchNext;
  m.info.pchEndRead = pmmioinfo->pchEndRead;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioAdvance(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT fuAdvance) {
  if (!IsLive(hmmio)) return MMSYSERR_INVALHANDLE;
  HMMIO__& m = *hmmio;
  if (!m.info.pchBuffer) return MMIOERR_UNBUFFERED;
  if (fuAdvance != MMIO_READ) return MMSYSERR_INVALPARAM;
  int64_t next = static_cast<int64_t>(m.info.lBufOffset) + (m.info.pchEndRead - m.info.pchBuffer);
  if (FillBufferAt(m, next) < 0) return MMIOERR_CANNOTREAD;
  if (pmmioinfo) {
    pmmioinfo->pchBuffer = m.info.pchBuffer;
    pmmioinfo->cchBuffer = m.info.cchBuffer;
    pmmioinfo->pchNext = m.info.pchNext;
    pmmioinfo->pchEndRead = m.info.pchEndRead;
    pmmioinfo->pchEndWrite = m.info.pchEndWrite;
    pmmioinfo->lBufOffset = m.info.lBufOffset;
    pmmioinfo->lDiskOffset = m.info.lDiskOffset;
  }
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioDescend(HMMIO hmmio, LPMMCKINFO pmmcki, const MMCKINFO* pmmckiParent, UINT fuDescend) {
  if (!IsLive(hmmio)) return MMSYSERR_INVALHANDLE;
  if (!pmmcki) return MMSYSERR_INVALPARAM;
  HMMIO__& m = *hmmio;
  int64_t pos = Position(m);
  int64_t limit = std::numeric_limits<int64_t>::max();
  if (pmmckiParent) {
    limit = static_cast<int64_t>(pmmckiParent->dwDataOffset) + pmmckiParent->cksize;
    if (pos < pmmckiParent->dwDataOffset || pos >= limit) return MMIOERR_CHUNKNOTFOUND;
  }

  FOURCC wantId = pmmcki->ckid;
  FOURCC wantType = pmmcki->fccType;
  UINT find = fuDescend & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST);
  if (find == MMIO_FINDRIFF) wantId = FOURCC_RIFF;
  if (find == MMIO_FINDLIST) wantId = FOURCC_LIST;

  for (;;) {
    if (pos + 8 > limit || !SeekTo(m, pos)) return MMIOERR_CHUNKNOTFOUND;
    DWORD id = 0, size = 0;
    if (!ReadFourcc(m, &id) || !ReadFourcc(m, &size)) return MMIOERR_CHUNKNOTFOUND;
    pmmcki->ckid = id;
    pmmcki->cksize = size;
    pmmcki->dwDataOffset = static_cast<DWORD>(pos + 8);
    pmmcki->dwFlags = 0;
    pmmcki->fccType = 0;
    bool isForm = id == FOURCC_RIFF || id == FOURCC_LIST;
    if (isForm && !ReadFourcc(m, &pmmcki->fccType)) return MMIOERR_CHUNKNOTFOUND;
    bool match = find == 0 || (id == wantId && (find == MMIO_FINDCHUNK || wantType == 0 ||
                                                pmmcki->fccType == wantType));
    if (match) {
      SeekTo(m, pos + 8 + (isForm ? 4 : 0));
      return MMSYSERR_NOERROR;
    }
    // Skip the chunk and its pad byte.
    pos += 8 + static_cast<int64_t>(size) + (size & 1);
    if (pos > m.fileSize) return MMIOERR_CHUNKNOTFOUND;
  }
}

MMRESULT WINAPI mmioAscend(HMMIO hmmio, LPMMCKINFO pmmcki, UINT fuAscend) {
  if (!IsLive(hmmio)) return MMSYSERR_INVALHANDLE;
  if (!pmmcki) return MMSYSERR_INVALPARAM;
  int64_t end = static_cast<int64_t>(pmmcki->dwDataOffset) + pmmcki->cksize + (pmmcki->cksize & 1);
  return SeekTo(*hmmio, end) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
}

}  // extern "C"
