/* The system functions the viewer imports, one per line:
 *   CE_IMPORT(dll, ordinal, name, number of 32-bit arguments)
 * An ordinal of 0 imports by name. The link step and the emulator tests
 * both read this list; the C code calls each function by its plain name
 * through a two-instruction thunk that jumps via the import address table.
 * Dlls: COREDLL ("COREDLL.dll"), OLE32 ("ole32.dll"), OLEAUT32 ("oleaut32.dll"). */

/* Windows and messages */
CE_IMPORT(COREDLL, 95, RegisterClassW, 1)
CE_IMPORT(COREDLL, 246, CreateWindowExW, 12)
CE_IMPORT(COREDLL, 264, DefWindowProcW, 4)
CE_IMPORT(COREDLL, 265, DestroyWindow, 1)
CE_IMPORT(COREDLL, 266, ShowWindow, 2)
CE_IMPORT(COREDLL, 267, UpdateWindow, 1)
CE_IMPORT(COREDLL, 250, InvalidateRect, 3)
CE_IMPORT(COREDLL, 249, GetClientRect, 2)
CE_IMPORT(COREDLL, 885, GetSystemMetrics, 1)
CE_IMPORT(COREDLL, 861, GetMessageW, 4)
CE_IMPORT(COREDLL, 870, TranslateMessage, 1)
CE_IMPORT(COREDLL, 859, DispatchMessageW, 1)
CE_IMPORT(COREDLL, 866, PostQuitMessage, 1)
CE_IMPORT(COREDLL, 858, MessageBoxW, 4)

/* Memory and the program's own resources */
CE_IMPORT(COREDLL, 33, LocalAlloc, 2)
CE_IMPORT(COREDLL, 36, LocalFree, 1)
CE_IMPORT(COREDLL, 532, FindResourceW, 3)
CE_IMPORT(COREDLL, 533, LoadResource, 2)
CE_IMPORT(COREDLL, 534, SizeofResource, 2)
CE_IMPORT(COREDLL, 873, LoadBitmapW, 2)

/* Drawing */
CE_IMPORT(COREDLL, 260, BeginPaint, 2)
CE_IMPORT(COREDLL, 261, EndPaint, 2)
CE_IMPORT(COREDLL, 910, CreateCompatibleDC, 1)
CE_IMPORT(COREDLL, 911, DeleteDC, 1)
CE_IMPORT(COREDLL, 921, SelectObject, 2)
CE_IMPORT(COREDLL, 912, DeleteObject, 1)
CE_IMPORT(COREDLL, 919, GetStockObject, 1)
CE_IMPORT(COREDLL, 918, GetObjectW, 3)
CE_IMPORT(COREDLL, 895, CreateFontIndirectW, 1)
CE_IMPORT(COREDLL, 898, GetTextMetricsW, 2)
CE_IMPORT(COREDLL, 897, GetTextExtentExPointW, 7)
CE_IMPORT(COREDLL, 896, ExtTextOutW, 8)
CE_IMPORT(COREDLL, 924, SetTextColor, 2)
CE_IMPORT(COREDLL, 923, SetBkMode, 2)
CE_IMPORT(COREDLL, 935, FillRect, 3)
CE_IMPORT(COREDLL, 938, PatBlt, 6)
CE_IMPORT(COREDLL, 940, Polyline, 3)
CE_IMPORT(COREDLL, 903, BitBlt, 9)

/* Registry: which packages were copied */
CE_IMPORT(COREDLL, 461, RegOpenKeyExW, 5)
CE_IMPORT(COREDLL, 456, RegCreateKeyExW, 9)
CE_IMPORT(COREDLL, 463, RegQueryValueExW, 6)
CE_IMPORT(COREDLL, 464, RegSetValueExW, 6)
CE_IMPORT(COREDLL, 455, RegCloseKey, 1)

/* The calendar and contact store's object model */
CE_IMPORT(OLE32, 0, CoInitializeEx, 2)
CE_IMPORT(OLE32, 0, CoCreateInstance, 5)
CE_IMPORT(OLE32, 0, CoUninitialize, 0)
CE_IMPORT(OLEAUT32, 0, SysAllocStringLen, 2)
CE_IMPORT(OLEAUT32, 0, SysFreeString, 1)
