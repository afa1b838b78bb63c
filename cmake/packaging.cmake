# What a user downloads, made by `cpack` in a release build (tools/release.sh): for Windows a ZIP with
# PemConv.exe and pem2txt.exe, elsewhere a tar.gz with pem2txt; each with the readme and the licence.
if(WIN32)
  install(TARGETS PemConv pem2txt RUNTIME DESTINATION .)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(package_platform win32)
  else()
    set(package_platform win64)
  endif()
  # Windows users open these with Notepad: CR LF, and a licence file that Windows knows how to open.
  set(readme_newlines WIN32)
  set(license_name LICENSE.txt)
  set(CPACK_GENERATOR ZIP)
else()
  install(TARGETS pem2txt RUNTIME DESTINATION .)
  # The archive's pem2txt needs only the C library, not the C++ library of the build machine
  # (debug builds keep the shared one, which the sanitizers expect).
  if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    target_link_options(pem2txt PRIVATE -static-libstdc++ -static-libgcc)
  endif()
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" package_platform)
  set(readme_newlines UNIX)
  set(license_name LICENSE)
  set(CPACK_GENERATOR TGZ)
endif()

configure_file(${PROJECT_SOURCE_DIR}/doc/release/README.txt.in ${PROJECT_BINARY_DIR}/package/README.txt
  @ONLY NEWLINE_STYLE ${readme_newlines})
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/package/${license_name}
  @ONLY NEWLINE_STYLE ${readme_newlines})
install(FILES ${PROJECT_BINARY_DIR}/package/README.txt ${PROJECT_BINARY_DIR}/package/${license_name}
  DESTINATION .)

set(CPACK_PACKAGE_NAME pemconv)
set(CPACK_PACKAGE_VENDOR "pemconv developers")
set(CPACK_PACKAGE_FILE_NAME pemconv-${PROJECT_VERSION}-${package_platform})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
