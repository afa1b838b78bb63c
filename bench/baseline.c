/* The yardstick for pem2txt: creates the folders and files listed in a file written by
 * gen_data.py with nothing but mkdir, open, write and close, so that the time left over in
 * pem2txt is its own work (reading the dictionary, naming, probing).
 * Usage: baseline LIST OUTPUT_DIR */
#include <errno.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

/* The whole list in memory, read before the first folder is made. */
static char* ReadList(const char* path, size_t* size) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  struct stat info;
  if (fd < 0 || fstat(fd, &info) != 0) return NULL;
  char* data = malloc((size_t)info.st_size + 1);
  size_t done = 0;
  while (data != NULL && done < (size_t)info.st_size) {
    const ssize_t n = read(fd, data + done, (size_t)info.st_size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += (size_t)n;
  }
  close(fd);
  *size = done;
  return data;
}

static int WriteFile(const char* path, const char* data, size_t size) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  size_t done = 0;
  while (done < size) {
    const ssize_t n = write(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += (size_t)n;
  }
  return close(fd) == 0 && done == size ? 0 : -1;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: baseline LIST OUTPUT_DIR\n");
    return 2;
  }
  size_t size = 0;
  char* list = ReadList(argv[1], &size);
  if (list == NULL) {
    perror(argv[1]);
    return 1;
  }
  char path[8192];
  const int prefix = snprintf(path, sizeof path, "%s/", argv[2]);
  for (size_t pos = 0; pos < size;) {
    const char kind = list[pos++];
    const char* name = list + pos;
    const size_t name_length = strnlen(name, size - pos);
    pos += name_length + 1;
    if (pos > size || (size_t)prefix + name_length >= sizeof path) {
      fprintf(stderr, "baseline: malformed list\n");
      return 1;
    }
    memcpy(path + prefix, name, name_length + 1);
    if (kind == 'D') {
      if (mkdir(path, 0777) != 0) {
        perror(path);
        return 1;
      }
      continue;
    }
    uint32_t length = 0;
    if (pos + 4 <= size) {
      const unsigned char* bytes = (const unsigned char*)list + pos;
      length =
          bytes[0] | (uint32_t)bytes[1] << 8 | (uint32_t)bytes[2] << 16 | (uint32_t)bytes[3] << 24;
    }
    pos += 4;
    if (kind != 'F' || pos + length > size) {
      fprintf(stderr, "baseline: malformed list\n");
      return 1;
    }
    if (WriteFile(path, list + pos, length) != 0) {
      perror(path);
      return 1;
    }
    pos += length;
  }
  free(list);
  return 0;
}
