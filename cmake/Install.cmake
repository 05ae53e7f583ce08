# The program as a desktop installs it: the version the programs print and
# the installed tree. Included at the end of the root CMakeLists.txt, once
# every target exists.

set(FOTAKLE_APP_ID com.norvalesystems.Fotakle)

# Both programs print the project's version for --version; the editor's
# window names its desktop entry.
target_compile_definitions(fotakle_platform PRIVATE FOTAKLE_VERSION="${PROJECT_VERSION}"
                           FOTAKLE_APP_ID="${FOTAKLE_APP_ID}")
target_compile_definitions(fotakle-batch PRIVATE FOTAKLE_VERSION="${PROJECT_VERSION}")

# The two executables with the asset folder beside them, as in the build
# tree.
install(TARGETS fotakle fotakle-batch RUNTIME DESTINATION bin)
install(DIRECTORY ${FOTAKLE_ASSET_FOLDER} DESTINATION bin)
