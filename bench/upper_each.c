/* The floor of a processing run: upper-cases the value after each "-u" and writes it with its
 * CR LF in one write() call per result, as a straight-through tool must. */
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
  static char buffer[1 << 20];
  for (int i = 1; i + 1 < argc; ++i) {
    if (strcmp(argv[i], "-u") != 0) continue;
    const char* value = argv[++i];
    size_t length = strlen(value);
    if (length + 2 > sizeof buffer) length = sizeof buffer - 2;
    for (size_t k = 0; k < length; ++k) {
      const char c = value[k];
      buffer[k] = (c >= 'a' && c <= 'z') ? (char)(c - 32) : c;
    }
    buffer[length] = '\r';
    buffer[length + 1] = '\n';
    if (write(1, buffer, length + 2) < 0) return 74;
  }
  return 0;
}
