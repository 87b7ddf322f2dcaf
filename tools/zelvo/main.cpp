#include "client.h"

int main(int argc, char** argv) { return zelvo::cli::runClient(argc, argv); }
