#include "game/shell.h"

int main() { return game::RunMorvanta(); }
