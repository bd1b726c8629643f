#include "lessons_a/sections.h"

int main(int argc, char** argv) { return lesson::runProgram(solvara::program(), argc, argv); }
