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
$reason = ''

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

function Show-UpdateError([string] $text) {
    $shell = New-Object -ComObject WScript.Shell
    [void] $shell.Popup('更新未完成。' + [System.Environment]::NewLine + $text, 0, 'Lumaro', 16)
}

function Open-Guard([string] $path, [System.IO.FileShare] $share) {
    $script:guard = [System.IO.File]::Open($path, [System.IO.FileMode]::Open, [System.IO.FileAccess]::Read, $share)
}

function Close-Guard {
    if ($null -ne $script:guard) { $script:guard.Dispose(); $script:guard = $null }
}

function Test-File([string] $path) { return [System.IO.File]::Exists($path) }

function Add-Reason([string] $line) { $script:reason = $script:reason + [System.Environment]::NewLine + $line }

# The update, one step after the other; each raises what the user is told.
function Confirm-Download {
    $script:previous = Get-Process -Id ([int] $env:LMR_UPDATE_PID)
    $script:ready = [System.Threading.EventWaitHandle]::OpenExisting($env:LMR_UPDATE_EVENT)
    Open-Guard $staged ([System.IO.FileShare]::Read -bor [System.IO.FileShare]::Delete)
    if ((Get-Sha256 $guard) -ne $env:LMR_UPDATE_SHA) { throw 'The downloaded file changed.' }
    [void] $ready.Set()
    $script:started = $true
}

function Wait-Toolbox {
    if (-not $previous.WaitForExit(30000)) { throw 'The running toolbox did not exit.' }
}

function Confirm-Target {
    $file = [System.IO.File]::OpenRead($target)
    try { $current = Get-Sha256 $file } finally { $file.Dispose() }
    if ($current -ne $env:LMR_UPDATE_PREVIOUS) { throw 'The installed file changed during the update.' }
}

function Install-Staged {
    Close-Guard
    [System.IO.File]::Replace($staged, $target, $backup)
    $script:installed = $true
    Open-Guard $target ([System.IO.FileShare]::Read)
    if ((Get-Sha256 $guard) -ne $env:LMR_UPDATE_SHA) { throw 'The installed file failed verification.' }
}

function Start-Update {
    $script:newProcess = Start-Toolbox
    Close-Guard
    if ($newProcess.WaitForExit(2000) -and $newProcess.ExitCode -ne 0) {
        $script:newProcess = $null
        throw 'The new toolbox failed to start.'
    }
    try { [System.IO.File]::Delete($backup) } catch { }
}

# After a failure, one step after the other, each whatever the one before
# did: the previous program ends up at the target, or the popup says where
# it is kept. A swap can fail halfway, with the target already renamed.
function Undo-Swap {
    if ($installed -and $null -eq $newProcess -and (Test-File $backup)) { [System.IO.File]::Replace($backup, $target, $staged) }
}

function Restore-Backup {
    if (-not (Test-File $target) -and (Test-File $backup)) { [System.IO.File]::Move($backup, $target) }
}

function Restart-Previous {
    if ($started -and $previous.HasExited -and -not (Test-File $backup) -and (Test-File $target)) { [void] (Start-Toolbox) }
}

function Show-Backup {
    if (Test-File $backup) { Add-Reason ('The previous version is kept as ' + $backup) }
}

try {
    foreach ($step in 'Confirm-Download', 'Wait-Toolbox', 'Confirm-Target', 'Install-Staged', 'Start-Update') { & $step }
} catch {
    $reason = $_.Exception.Message
    Close-Guard
    foreach ($step in 'Undo-Swap', 'Restore-Backup', 'Restart-Previous', 'Show-Backup') {
        try { & $step } catch { Add-Reason $_.Exception.Message }
    }
    if ($started) { Show-UpdateError $reason }
    $failed = $true
} finally {
    Close-Guard
    if ($null -ne $previous) { $previous.Dispose() }
    if ($null -ne $ready) { $ready.Dispose() }
    try { if (Test-File $staged) { [System.IO.File]::Delete($staged) } } catch { }
}
if ($failed) { exit 1 }
