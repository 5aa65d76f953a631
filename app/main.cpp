#include "app/Startup.h"

// No command line, environment variable or settings file of its own is read.
int main(int argc, char** argv) {
  return RunTarnwick(argc, argv);
}
