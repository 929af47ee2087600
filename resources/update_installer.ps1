$ErrorActionPreference = 'Stop'
$target = $env:LMR_UPDATE_TARGET
$staged = $env:LMR_UPDATE_STAGED
$backup = $staged + '.previous'
$started = $false
$installed = $false
$failed = $false
$guard = $null
$previous = $null
$newProcess = $null
$ready = $null

function Start-Toolbox {
    $info = New-Object System.Diagnostics.ProcessStartInfo
    $info.FileName = $target
    $info.WorkingDirectory = [System.IO.Path]::GetDirectoryName($target)
    $info.UseShellExecute = $false
    return [System.Diagnostics.Process]::Start($info)
}

function Get-Sha256([System.IO.Stream] $stream) {
    $sha = [System.Security.Cryptography.SHA256]::Create()
    try { $digest = $sha.ComputeHash($stream) } finally { $sha.Dispose() }
    return [System.BitConverter]::ToString($digest).Replace('-', '')
}

function Show-UpdateError([string] $reason) {
    $shell = New-Object -ComObject WScript.Shell
    [void] $shell.Popup('更新未完成。' + [System.Environment]::NewLine + $reason, 0, 'Lumaro', 16)
}

try {
    $previous = Get-Process -Id ([int] $env:LMR_UPDATE_PID)
    $ready = [System.Threading.EventWaitHandle]::OpenExisting($env:LMR_UPDATE_EVENT)
    $share = [System.IO.FileShare]::Read -bor [System.IO.FileShare]::Delete
    $guard = [System.IO.File]::Open($staged, [System.IO.FileMode]::Open, [System.IO.FileAccess]::Read, $share)
    if ((Get-Sha256 $guard) -ne $env:LMR_UPDATE_SHA) { throw 'The downloaded file changed.' }
    [void] $ready.Set()
    $started = $true
    if (-not $previous.WaitForExit(30000)) { throw 'The running toolbox did not exit.' }
    $file = [System.IO.File]::OpenRead($target)
    try { $current = Get-Sha256 $file } finally { $file.Dispose() }
    if ($current -ne $env:LMR_UPDATE_PREVIOUS) { throw 'The installed file changed during the update.' }
    $guard.Dispose()
    $guard = $null
    [System.IO.File]::Replace($staged, $target, $backup)
    $installed = $true
    $guard = [System.IO.File]::Open($target, [System.IO.FileMode]::Open, [System.IO.FileAccess]::Read, [System.IO.FileShare]::Read)
    if ((Get-Sha256 $guard) -ne $env:LMR_UPDATE_SHA) { throw 'The installed file failed verification.' }
    $newProcess = Start-Toolbox
    $guard.Dispose()
    $guard = $null
    if ($newProcess.WaitForExit(2000) -and $newProcess.ExitCode -ne 0) {
        $newProcess = $null
        throw 'The new toolbox failed to start.'
    }
    try { [System.IO.File]::Delete($backup) } catch { }
} catch {
    $reason = $_.Exception.Message
    if ($null -ne $guard) { $guard.Dispose(); $guard = $null }
    if ($installed -and $null -eq $newProcess -and [System.IO.File]::Exists($backup)) {
        try {
            [System.IO.File]::Replace($backup, $target, $staged)
            [void] (Start-Toolbox)
        } catch {
            $reason = $reason + [System.Environment]::NewLine + $_.Exception.Message
        }
    } elseif ($started -and -not $installed -and $previous.HasExited -and [System.IO.File]::Exists($target)) {
        try { [void] (Start-Toolbox) } catch { }
    }
    if ($started) { Show-UpdateError $reason }
    $failed = $true
} finally {
    if ($null -ne $guard) { $guard.Dispose() }
    if ($null -ne $previous) { $previous.Dispose() }
    if ($null -ne $ready) { $ready.Dispose() }
    try { if ([System.IO.File]::Exists($staged)) { [System.IO.File]::Delete($staged) } } catch { }
}
if ($failed) { exit 1 }
