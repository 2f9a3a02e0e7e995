# What a Linux user looks for around the programs: manual pages, shell
# completion, the install-tree check and the Debian package description.
option(KALVARA_BUILD_MANPAGES "Build and install the manual pages (needs scdoc)" ON)

if(KALVARA_BUILD_MANPAGES)
    add_subdirectory(man)
endif()
add_subdirectory(completion)

if(KALVARA_BUILD_TESTS)
    add_subdirectory(tests/install)
endif()
