#include "dorva.h"

int main(int argc, char** argv)
{
	return dorva_main(argc, argv);
}
