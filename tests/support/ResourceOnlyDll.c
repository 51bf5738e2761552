/* test_cells.dll carries bitmap resources only; a DLL still needs one object file of code. */
int vor_test_cells_dll_version = 1;
