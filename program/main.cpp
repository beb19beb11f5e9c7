#include "Program.h"

int main(int argc, char** argv) { return corvane::RunCorvane(argc, argv); }
