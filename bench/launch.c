/* Runs a program with the arguments stored in a file, NUL-separated, so that command lines at
 * the system's limit reach the program without passing through a shell.
 * Usage: launch ARGS-FILE PROGRAM */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    fputs("usage: launch ARGS-FILE PROGRAM\n", stderr);
    return 2;
  }
  FILE* file = fopen(argv[1], "rb");
  if (file == NULL) {
    perror(argv[1]);
    return 2;
  }
  static char data[8 << 20];
  const size_t size = fread(data, 1, sizeof data - 1, file);
  fclose(file);
  size_t count = 2;
  for (size_t i = 0; i < size; ++i) count += data[i] == '\0';
  char** list = malloc((count + 1) * sizeof *list);
  if (list == NULL) return 2;
  size_t n = 0;
  list[n++] = argv[2];
  if (size > 0) {
    list[n++] = data;
    for (size_t i = 0; i + 1 < size; ++i) {
      if (data[i] == '\0') list[n++] = data + i + 1;
    }
  }
  list[n] = NULL;
  execv(argv[2], list);
  perror(argv[2]);
  return 127;
}
