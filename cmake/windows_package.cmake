# The portable zip of the Windows program: edgeway.exe, a README for Windows users and the
# licence, in one folder named after the package. `cmake --build --preset windows --target
# package` (or scripts/package-windows) writes it to the top of the build folder as
# korvanta-edgeway-<version>-windows-<architecture>.zip. The version is the project's, the same
# one the exe's version resource and the README carry.

if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set(edgeway_architecture x64)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(ARM64|aarch64)$")
  set(edgeway_architecture arm64)
else()
  string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" edgeway_architecture)
endif()

# Plain text with Windows line ends, so that any editor there shows it as it should.
set(edgeway_package_texts ${CMAKE_BINARY_DIR}/package-texts)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in ${edgeway_package_texts}/README.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${edgeway_package_texts}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS edgeway RUNTIME DESTINATION .)
install(FILES ${edgeway_package_texts}/README.txt ${edgeway_package_texts}/LICENSE.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME korvanta-edgeway)
set(CPACK_PACKAGE_VENDOR "Korvanta Edgeway developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME korvanta-edgeway-${PROJECT_VERSION}-windows-${edgeway_architecture})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
