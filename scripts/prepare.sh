# Sourced by test.sh and variant-builds.sh: goes to the repository's top folder, installs what is
# missing (deps.sh), and sets werror for -DQZ_WERROR: ON in CI (CI set to anything but empty, 0,
# false or no, in any letter case, as the tests read it), else OFF. It is always passed explicitly,
# so that a local run after a CI run in the same tree goes back to OFF.
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/deps.sh
case "${CI:-}" in
    "" | 0 | [Ff][Aa][Ll][Ss][Ee] | [Nn][Oo]) werror=OFF ;;
    *) werror=ON ;;
esac
