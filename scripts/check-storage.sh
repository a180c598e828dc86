#!/usr/bin/env bash
# Fails when code outside the SQLite engine names SQLite: its C++ wrapper (SQLiteCpp), its header
# or C functions (sqlite3.h, sqlite3_*), or its types (SQLite::). The program reaches its
# databases through src/db/database.h alone, so that a second engine can stand behind it; within
# src/db/ only the engine's own sources (sqlite_*) may name SQLite. Build files are checked too:
# linking SQLite elsewhere would let its headers back in.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='SQLiteCpp|sqlite3\.h|sqlite3_[a-z]|SQLite::'
# Files allowed to name SQLite outside the engine, each with the reason. A test that works on a
# database file itself (with the sqlite3 tool, or by spoiling its bytes) would be listed here.
declare -A allowed=(
  # The SQLite engine library is linked here, privately.
  [src/db/CMakeLists.txt]=1
)
status=0
while IFS=: read -r file line text; do
  [ -n "${allowed[$file]:-}" ] && continue
  echo "$file:$line: ${text#"${text%%[![:space:]]*}"}"
  status=1
done < <(git ls-files --cached --others --exclude-standard src tests bench fuzz |
  grep -E '(\.(h|cpp)|CMakeLists\.txt)$' | grep -v '^src/db/sqlite_' |
  xargs grep -nE "$pattern" || true)
[ "$status" -eq 0 ] && echo "Almacenamiento: solo el motor SQLite de src/db/ nombra SQLite."
exit "$status"
