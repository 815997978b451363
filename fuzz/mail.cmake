quillon_add_fuzzer(fuzz_mail ${CMAKE_CURRENT_LIST_DIR}/mail_fuzz.cpp DEPS quillon_mail quillon_platform_mail)
