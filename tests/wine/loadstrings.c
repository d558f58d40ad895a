/* loadstrings DLL ID...: loads DLL as a data file and prints, per id, one line
   "ID A <hex of LoadStringA's bytes> W <hex of the UTF-16 units>", or "ID none" when the module
   has no such string. The first line is "acp N". */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  HMODULE module;
  int i;
  if (argc < 2) return 2;
  module = LoadLibraryExA(argv[1], NULL, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    printf("load-failed %lu\n", (unsigned long)GetLastError());
    return 1;
  }
  printf("acp %u\n", GetACP());
  for (i = 2; i < argc; ++i) {
    UINT id = (UINT)strtoul(argv[i], NULL, 10);
    char a[300];
    const WCHAR* w = NULL;
    int n, nw, k;
    /* With no buffer, LoadStringW hands out the string in place: NULL stays for a missing one. */
    nw = LoadStringW(module, id, (LPWSTR)&w, 0);
    if (!w) {
      printf("%u none\n", id);
      continue;
    }
    n = LoadStringA(module, id, a, sizeof a);
    printf("%u A ", id);
    for (k = 0; k < n; ++k) printf("%02x", (unsigned char)a[k]);
    printf(" W ");
    for (k = 0; k < nw; ++k) printf("%04x", (unsigned)w[k]);
    printf("\n");
  }
  FreeLibrary(module);
  return 0;
}
