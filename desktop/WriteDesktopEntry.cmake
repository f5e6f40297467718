# Run by `cmake --install`: writes the desktop entry with Exec naming the
# launcher under the prefix of this install. Expects VELMO_BINDIR,
# VELMO_MIME_FILE, VELMO_ENTRY_IN and VELMO_ENTRY_OUT.
if(IS_ABSOLUTE "${VELMO_BINDIR}")
    set(VELMO_LAUNCHER "${VELMO_BINDIR}/velmo")
else()
    set(VELMO_LAUNCHER "${CMAKE_INSTALL_PREFIX}/${VELMO_BINDIR}/velmo")
endif()
# Exec quotes a path holding a space or a character the entry's Exec reserves.
set(VELMO_EXEC "${VELMO_LAUNCHER}")
if(VELMO_LAUNCHER MATCHES "[] \t\"'\\><~|&;$*?#()`[]")
    # Inside quotes each of " ` $ \ takes a backslash, itself doubled by the
    # string escapes that are undone first.
    string(REGEX REPLACE "([\"`$\\])" "\\\\\\\\\\1" VELMO_EXEC "${VELMO_LAUNCHER}")
    set(VELMO_EXEC "\"${VELMO_EXEC}\"")
endif()
file(READ "${VELMO_MIME_FILE}" VELMO_MIME_TYPES)
string(STRIP "${VELMO_MIME_TYPES}" VELMO_MIME_TYPES)
configure_file("${VELMO_ENTRY_IN}" "${VELMO_ENTRY_OUT}" @ONLY)
