# Writes a C++ source that holds every built-in profile (DIR/NAME.json for each
# of the comma-separated NAMES, in that order) as a text, keyed by its name.
string(REPLACE "," ";" names "${NAMES}")
set(body "")
foreach(name ${names})
  file(READ ${DIR}/${name}.json text)
  string(APPEND body "  {\"${name}\", R\"vantrel_json(${text})vantrel_json\"},\n")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from link/sim/profiles at build time.\n#include \"link/sim/builtin_profiles.h\"\n\nnamespace smb::sim {\n\nconst std::vector<BuiltinProfile>& BuiltinProfiles() {\n  static const std::vector<BuiltinProfile> profiles = {\n${body}  };\n  return profiles;\n}\n\n}  // namespace smb::sim\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
